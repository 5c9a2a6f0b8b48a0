#include <dlfcn.h>
#include <unistd.h>

#include "platform/shared_library.h"

bool SharedLibrary::Open(const std::string& path) {
  Close();
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* reason = dlerror();
    error_ = reason != nullptr ? reason : "cannot load " + path;
    return false;
  }
  return true;
}

void* SharedLibrary::Symbol(const char* name) const {
  return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}

void SharedLibrary::Close() {
  if (handle_ != nullptr) dlclose(handle_);
  handle_ = nullptr;
}

std::string ExecutableDirectory() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "./";
  const std::string full(path, static_cast<size_t>(length));
  return full.substr(0, full.find_last_of('/') + 1);
}

const char* PluginLibraryFileName() {
  return "Grittbox.so";
}
