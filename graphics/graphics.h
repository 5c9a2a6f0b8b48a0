#pragma once
#include "core/editor_hooks.h"
#include "core/heap_string.h"
#include "core/mutex_lock.h"
#include "core/ptr_list.h"
#include "graphics/control.h"
#include "graphics/editor_records.h"
#include "graphics/menu.h"
#include "imaging/bounds.h"

class IParameter;
class IPluginBase;
class PIX_IBitmap;
class PIX_MemBitmap;
class PIX_SysBitmap;

// The platform-neutral half of the editor: the ordered controls, the canvas
// they paint into, the redraw protocol, pointer and key routing, and the flow
// of values between parameters and controls. A window host supplies the
// abstract operations. Everything runs on the editor thread, except
// PushParamToControls, which a host's parameter change may call on another
// thread under the instance lock; the graphics core takes no lock of its own.
class IGraphics : public IEditorHooks {
 public:
  IGraphics(IPluginBase* plug, int width, int height, int framesPerSecond = 25);
  ~IGraphics() override;
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---- Supplied by the window host ----------------------------------------
  // Copies that area of the canvas to the window.
  virtual bool PresentArea(const IBounds& area) = 0;
  virtual bool MeasureTextBox(const ITextStyle& style, const char* text, IBounds& box);
  virtual void AbortTextEntry() = 0;
  // Replaces the editor's size: the controls are destroyed and must be attached again.
  virtual void ChangeSize(int width, int height);
  virtual bool HasWindow() { return NativeWindow() != nullptr; }
  virtual const char* BackendName() { return ""; }
  virtual int ShowMessage(const char* text, const char* caption, int type) = 0;
  virtual IMenuList* RunPopupMenu(IMenuList& menu, const IBounds& anchor) = 0;
  virtual void BeginTextEntry(IControl* control, const ITextStyle& style, const IBounds& area,
                              const char* initialText, IParameter* param) = 0;
  virtual void HostFolder(HeapString& out) = 0;
  virtual void LibraryFolder(HeapString& out) = 0;
  virtual void DesktopFolder(HeapString& out) = 0;
  virtual void AppDataFolder(HeapString& out, bool systemWide) = 0;
  virtual void UserAppDataFolder(HeapString& out) = 0;
  virtual void AskForFile(HeapString& fileName, int mode, HeapString& folder,
                          const char* extensions) = 0;
  virtual bool AskForColor(IColorARGB& color, const char* prompt) = 0;
  virtual bool OpenWebAddress(const char* address, const char* caption, const char* confirmation,
                              const char* failure) = 0;
  virtual int ReservedQuery(int, int, int, int) { return 0; }
  virtual void* OpenEditorWindow(void* parent) = 0;
  virtual void ReservedHookA(void*) {}
  virtual void ReservedHookB() {}
  virtual void CloseEditorWindow() = 0;
  virtual void* NativeWindow() = 0;
  virtual bool ReadClipboardText(HeapString& out) = 0;
  virtual void ConcealCursor() {}
  virtual void RevealCursor() {}
  virtual void ReservedHookC() = 0;
  // Decodes the image stored in the library under id, or null.
  virtual PIX_MemBitmap* LoadImageResource(int id, const char* fileName) = 0;

  // ---- Composition --------------------------------------------------------
  // Takes ownership; the control goes on top of the others.
  void AttachControl(IControl* control);
  // The background image, below every control whatever the order of calls.
  void AttachBackdrop(int id, const char* fileName);
  void PrepareDrawing() override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }

  // ---- Values -------------------------------------------------------------
  void PushParamToControls(int paramIndex, double value, bool normalized) override;
  // Shows a menu or an entry field for a parameter's value.
  void AskParamValue(IControl* control, IParameter* param, const IBounds& area);

  // ---- Drawing ------------------------------------------------------------
  // The union of the dirty controls' rectangles; false when nothing is dirty.
  bool FindDirtyArea(IBounds& area);
  // Paints the controls over area into the canvas, then presents it.
  bool DrawArea(const IBounds& area);
  // Composites one frame of a strip into the canvas, clipped to the draw area.
  bool BlitStrip(const IBitmapStrip& strip, const IBounds& destination, int sourceX, int sourceY,
                 const IBlendSpec* blend);

  // ---- Events -------------------------------------------------------------
  int ControlAt(int x, int y, bool forHover);
  void HandleMouseDown(int x, int y, const IMouseKeys& keys);
  void HandleMouseUp(int x, int y, const IMouseKeys& keys);
  void HandleMouseDrag(int x, int y, const IMouseKeys& keys);
  bool HandleDoubleClick(int x, int y, const IMouseKeys& keys);
  bool HandleMouseHover(int x, int y, const IMouseKeys& keys);
  void HandleMouseLeave();
  bool HandleKeyDown(int x, int y, IEditorKey key);

  // ---- State for the window host and tests -------------------------------
  int ControlCount() const { return controls_.Count(); }
  IControl* ControlAtIndex(int index) const { return controls_.Get(index); }
  PIX_SysBitmap* Canvas() const { return canvas_; }
  IPluginBase* Plug() const { return plug_; }
  const IBounds& DrawingArea() const { return drawArea_; }
  int FramesPerSecond() const { return framesPerSecond_; }
  int CaptureIndex() const { return captureIndex_; }
  int HoverIndex() const { return hoverIndex_; }
  void ResetCapture() { captureIndex_ = lastMouseX_ = lastMouseY_ = -1; }

  // Configuration, fixed after construction.
  bool trackHover = false;
  bool strictDrawing = true;
  bool showTooltips = false;
  IControl* keyCatcher = nullptr;  // owned

 protected:
  bool cursorHidden_ = false;
  int savedCursorX_ = -1;
  int savedCursorY_ = -1;

 private:
  void DrawStrict(const IBounds& area);
  void DrawDirtyControls();
  void DeleteControls();

  MutexLock lock_;
  PtrList<IControl> controls_{4096};
  IPluginBase* plug_;
  IBounds drawArea_;
  PIX_SysBitmap* canvas_ = nullptr;
  int width_;
  int height_;
  int framesPerSecond_;
  int captureIndex_ = -1;
  int hoverIndex_ = -1;
  int lastMouseX_ = 0;
  int lastMouseY_ = 0;
};
