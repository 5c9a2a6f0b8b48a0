#include <dlfcn.h>

#include "platform/module_handle.h"

void* PluginModuleHandle() {
  // The shared object that holds this function is the plug-in's module.
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&PluginModuleHandle), &info) == 0) return nullptr;
  return info.dli_fbase;
}
