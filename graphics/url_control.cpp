#include "graphics/url_control.h"

#include "core/parameter.h"
#include "graphics/graphics.h"

IURLControl::IURLControl(IPluginBase* plug, const IBounds& rect, const char* url,
                         const char* backupUrl, const char* failure)
    : IControl(plug, rect, -1, IBlendSpec{}) {
  CopyText(address, sizeof address, url);
  CopyText(backupAddress, sizeof backupAddress, backupUrl);
  CopyText(failureText, sizeof failureText, failure);
}

void IURLControl::PointerDown(int /*x*/, int /*y*/, const IMouseKeys& /*keys*/) {
  IGraphics* graphics = Graphics();
  if (graphics == nullptr) return;
  if (address[0] != 0 && graphics->OpenWebAddress(address, failureText, nullptr, nullptr)) return;
  if (backupAddress[0] != 0) graphics->OpenWebAddress(backupAddress, failureText, nullptr, nullptr);
}
