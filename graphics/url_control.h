#pragma once
#include "graphics/control.h"

// An invisible area that opens the maker's web address when pressed, trying a
// backup address when the first cannot be opened.
class IURLControl : public IControl {
 public:
  IURLControl(IPluginBase* plug, const IBounds& rect, const char* address,
              const char* backupAddress, const char* failureText);
  void PointerDown(int x, int y, const IMouseKeys& keys) override;
  bool Paint(IGraphics&) override { return true; }

  char address[256] = {};
  char backupAddress[256] = {};
  char failureText[1024] = {};
};
