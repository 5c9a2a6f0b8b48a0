#include "graphics/graphics.h"

#include <cstring>

#include "core/parameter.h"
#include "core/plugin_base.h"
#include "graphics/bitmap_control.h"
#include "graphics/image_cache.h"
#include "imaging/compositing.h"
#include "imaging/mem_bitmap.h"
#include "imaging/sys_bitmap.h"

namespace {
constexpr int kDisplayTextSize = 32;
}  // namespace

IGraphics::IGraphics(IPluginBase* plug, int width, int height, int framesPerSecond)
    : plug_(plug), width_(width), height_(height), framesPerSecond_(framesPerSecond) {}

IGraphics::~IGraphics() {
  delete keyCatcher;
  keyCatcher = nullptr;
  DeleteControls();
  delete canvas_;
  canvas_ = nullptr;
}

void IGraphics::DeleteControls() {
  controls_.DeleteAll();
  controls_.Release();
}

bool IGraphics::MeasureTextBox(const ITextStyle& /*style*/, const char* /*text*/,
                               IBounds& /*box*/) {
  return false;  // editor text arrives with the font cache
}

void IGraphics::AttachControl(IControl* control) {
  if (control != nullptr && !controls_.Add(control)) delete control;
}

void IGraphics::AttachBackdrop(int id, const char* fileName) {
  PIX_IBitmap* bitmap = FindCachedBitmap(id);
  if (bitmap == nullptr) {
    bitmap = LoadImageResource(id, fileName);
    if (bitmap == nullptr) return;  // without its image there is no backdrop to show
    CacheBitmap(bitmap, id);
  }
  const int w = bitmap->PixelWidth();
  const int h = bitmap->PixelHeight();
  IBitmapStrip strip;
  strip.bitmap = bitmap;
  strip.width = w;
  strip.height = h;
  strip.frames = 1;
  strip.framesAcross = false;
  IBlendSpec replace;
  replace.method = IBlendSpec::BlendReplace;
  replace.weight = 1.0f;
  auto* backdrop = new IBitmapControl(plug_, IBounds{0, 0, w, h}, -1, strip, replace);
  if (!controls_.Insert(0, backdrop)) delete backdrop;
}

void IGraphics::PrepareDrawing() {
  delete canvas_;
  canvas_ = new PIX_SysBitmap(width_, height_);
}

void IGraphics::PushParamToControls(int paramIndex, double value, bool normalized) {
  if (!normalized) {
    const IParameter* param = plug_ != nullptr ? plug_->ParamAt(paramIndex) : nullptr;
    if (param == nullptr) return;
    value = param->NormalizedOf(value);
  }
  for (int i = 0; i < controls_.Count(); ++i) {
    IControl* control = controls_.Get(i);
    if (control->paramIndex == paramIndex) control->ValueFromPlugIn(value);
    for (int j = 0; j < control->AuxParamCount(); ++j) {
      if (control->AuxParamAt(j)->paramIndex == paramIndex) {
        control->AuxValueFromPlugIn(j, value);
        break;  // only the first link to a parameter follows it
      }
    }
  }
}

void IGraphics::AskParamValue(IControl* control, IParameter* param, const IBounds& area) {
  if (control == nullptr || param == nullptr) return;
  const int n = param->DisplayTextCount();
  if (param->kind == kParamEnum || (param->kind == kParamBool && n > 0)) {
    IMenuList menu;
    char current[kDisplayTextSize];
    param->DisplayText(current, sizeof current, param->value, false, true);
    for (int i = 0; i < n; ++i) {
      auto* entry = new IMenuEntry;
      const char* text = "";
      for (int e = 0; e < n; ++e) {
        if (param->DisplayTextAt(e)->value == i) {
          text = param->DisplayTextAt(e)->text;
          break;
        }
      }
      entry->text.Set(text);
      entry->flags = std::strcmp(text, current) == 0 ? IMenuEntry::kTicked : 0;
      if (!menu.entries.Add(entry)) delete entry;
    }
    if (IMenuList* answer = RunPopupMenu(menu, area)) {
      control->ValueFromUser(param->NormalizedOf(answer->chosen));
    }
    return;
  }
  char text[kDisplayTextSize];
  param->NumericText(text, sizeof text);
  BeginTextEntry(control, control->textStyle, area, text, param);
}

bool IGraphics::FindDirtyArea(IBounds& area) {
  bool any = false;
  for (int i = 0; i < controls_.Count(); ++i) {
    IControl* control = controls_.Get(i);
    if (control->IsDirty()) {
      area = area.Union(control->drawRect);
      any = true;
    }
  }
  return any;
}

void IGraphics::DrawStrict(const IBounds& area) {
  drawArea_ = area;
  for (int i = 0; i < controls_.Count(); ++i) {
    IControl* control = controls_.Get(i);
    // Touching edges count on the right and bottom of the area.
    if (!control->hidden && area.Overlaps(control->drawRect)) control->Paint(*this);
    control->MarkClean();
  }
}

void IGraphics::DrawDirtyControls() {
  IControl* backdrop = controls_.Get(0);
  if (backdrop->IsDirty()) {
    drawArea_ = backdrop->drawRect;
    for (int i = 0; i < controls_.Count(); ++i) {
      IControl* control = controls_.Get(i);
      if (i == 0 || !control->hidden) {
        control->Paint(*this);
        control->MarkClean();
      }
    }
    return;
  }
  for (int i = 1; i < controls_.Count(); ++i) {
    IControl* dirtyControl = controls_.Get(i);
    if (!dirtyControl->IsDirty()) continue;
    drawArea_ = dirtyControl->drawRect;
    for (int j = 0; j < controls_.Count(); ++j) {
      IControl* control = controls_.Get(j);
      if (!control->hidden && (j == i || control->drawRect.Overlaps(drawArea_))) {
        control->Paint(*this);
      }
    }
    dirtyControl->MarkClean();
  }
}

bool IGraphics::DrawArea(const IBounds& area) {
  if (controls_.Count() == 0) return true;
  if (strictDrawing) {
    DrawStrict(area);
  } else {
    DrawDirtyControls();
  }
  return PresentArea(area);
}

bool IGraphics::BlitStrip(const IBitmapStrip& strip, const IBounds& destination, int sourceX,
                          int sourceY, const IBlendSpec* blend) {
  const IBounds r = destination.Intersection(drawArea_);
  float weight = 1.0f;
  int mode = PIX_MIX_COPY | PIX_MIX_SOURCE_ALPHA;
  if (blend != nullptr) {
    weight = blend->weight;
    switch (blend->method) {
      case IBlendSpec::BlendReplace:
        mode = PIX_MIX_COPY;
        break;
      case IBlendSpec::BlendAdditive:
        mode = PIX_MIX_ADD | PIX_MIX_SOURCE_ALPHA;
        break;
      case IBlendSpec::BlendDodge:
        mode = PIX_MIX_DODGE | PIX_MIX_SOURCE_ALPHA;
        break;
      default:
        break;
    }
  }
  IBounds source;
  source.left = sourceX + r.left - destination.left;
  source.top = sourceY + r.top - destination.top;
  source.right = source.left + (r.right - r.left);
  source.bottom = source.top + (r.bottom - r.top);
  PIX_CompositeRect(canvas_, strip.bitmap, r.left, r.top, &source, weight, mode);
  return true;
}

int IGraphics::ControlAt(int x, int y, bool forHover) {
  if (captureIndex_ >= 0) return captureIndex_;
  for (int i = controls_.Count() - 1; i >= 0; --i) {
    IControl* control = controls_.Get(i);
    if (control->hidden) continue;
    if (control->greyed && !(forHover && control->hoverWhenGreyed)) continue;
    if (control->Hit(x, y)) return i;
  }
  return -1;
}

void IGraphics::HandleMouseDown(int x, int y, const IMouseKeys& keys) {
  ResetCapture();
  const int index = ControlAt(x, y, false);
  if (index < 0) return;
  captureIndex_ = index;
  lastMouseX_ = x;
  lastMouseY_ = y;
  IControl* control = controls_.Get(index);
  const int param = control->paramIndex;
  if (plug_ != nullptr && plug_->BindingKind() == 1 && keys.right && param >= 0) {
    ResetCapture();
    plug_->ShowParamContextMenu(param, x, y);
    return;
  }
  if (param >= 0 && plug_ != nullptr) plug_->NotifyHostGestureBegin(param);
  control->PointerDown(x, y, keys);
}

void IGraphics::HandleMouseUp(int x, int y, const IMouseKeys& keys) {
  const int index = ControlAt(x, y, false);
  ResetCapture();
  if (index < 0) return;
  IControl* control = controls_.Get(index);
  control->PointerUp(x, y, keys);
  if (control->paramIndex >= 0 && plug_ != nullptr) {
    plug_->NotifyHostGestureEnd(control->paramIndex);
  }
}

void IGraphics::HandleMouseDrag(int x, int y, const IMouseKeys& keys) {
  if (captureIndex_ < 0) return;
  const int dX = x - lastMouseX_;
  const int dY = y - lastMouseY_;
  if (dX == 0 && dY == 0) return;
  lastMouseX_ = x;
  lastMouseY_ = y;
  controls_.Get(captureIndex_)->PointerDrag(x, y, dX, dY, keys);
}

bool IGraphics::HandleDoubleClick(int x, int y, const IMouseKeys& keys) {
  ResetCapture();
  const int index = ControlAt(x, y, false);
  if (index < 0) return false;
  IControl* control = controls_.Get(index);
  if (control->doubleClickAsDown) {
    captureIndex_ = index;
    lastMouseX_ = x;
    lastMouseY_ = y;
    control->PointerDown(x, y, keys);
    return true;
  }
  control->PointerDoubleClick(x, y, keys);
  return false;
}

bool IGraphics::HandleMouseHover(int x, int y, const IMouseKeys& keys) {
  if (!trackHover) return false;
  const int index = ControlAt(x, y, true);
  if (index >= 0) {
    lastMouseX_ = x;
    lastMouseY_ = y;
    controls_.Get(index)->PointerHover(x, y, keys);
    if (hoverIndex_ >= 0 && hoverIndex_ != index) {
      if (IControl* left = controls_.Get(hoverIndex_)) left->PointerLeft();
    }
    hoverIndex_ = index;
  }
  return trackHover;
}

void IGraphics::HandleMouseLeave() {
  for (int i = 0; i < controls_.Count(); ++i) controls_.Get(i)->PointerLeft();
  hoverIndex_ = -1;
}

bool IGraphics::HandleKeyDown(int x, int y, IEditorKey key) {
  const int index = ControlAt(x, y, false);
  if (index > 0) return controls_.Get(index)->KeyPressed(x, y, key);
  return keyCatcher != nullptr ? keyCatcher->KeyPressed(x, y, key) : false;
}

void IGraphics::ChangeSize(int width, int height) {
  width_ = width;
  height_ = height;
  ResetCapture();
  DeleteControls();
  delete canvas_;
  canvas_ = nullptr;
  PrepareDrawing();
  if (plug_ != nullptr) plug_->EditorSizeChanged(width, height);
}
