#pragma once
#include <string>

// Loading a plug-in library at run time, as a host does: dlopen elsewhere,
// LoadLibrary on Windows. Used by our own hosts and tests.
class SharedLibrary {
 public:
  SharedLibrary() = default;
  ~SharedLibrary() { Close(); }
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // False, with Error() telling why, when the library cannot be loaded.
  bool Open(const std::string& path);
  void* Symbol(const char* name) const;
  void Close();
  bool IsOpen() const { return handle_ != nullptr; }
  const std::string& Error() const { return error_; }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

// The folder of the running executable, with a trailing separator.
std::string ExecutableDirectory();
// The plug-in library's file name on this system.
const char* PluginLibraryFileName();
