#include <windows.h>

#include "platform/module_handle.h"

namespace {
HINSTANCE moduleHandle = nullptr;
}

void* PluginModuleHandle() {
  return moduleHandle;
}

// The library-load hook: remembers the module and succeeds for every reason.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
  moduleHandle = instance;
  return TRUE;
}
