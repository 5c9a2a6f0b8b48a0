#include <windows.h>

#include "platform/shared_library.h"

bool SharedLibrary::Open(const std::string& path) {
  Close();
  handle_ = LoadLibraryA(path.c_str());
  if (handle_ == nullptr) {
    error_ = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  return true;
}

void* SharedLibrary::Symbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

void SharedLibrary::Close() {
  if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

std::string ExecutableDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ".\\";
  const std::string full(path, length);
  return full.substr(0, full.find_last_of("\\/") + 1);
}

const char* PluginLibraryFileName() {
  return "Grittbox.dll";
}
