#pragma once
#include "core/heap_buffer.h"
#include "core/heap_string.h"
#include "graphics/editor_records.h"
#include "imaging/bounds.h"

class IGraphics;
class IPluginBase;

// One auxiliary parameter link of a control.
struct IAuxParam {
  double value = 0.0;
  int paramIndex = -1;
};

// A text-showing control as far as value and name labels need one.
class ITextLabel {
 public:
  virtual ~ITextLabel() = default;
  // Editor thread: stores the text and marks the label dirty when it changed.
  virtual void SetLabelText(const char* text) = 0;
};

// A rectangle of the editor that shows a value and reacts to the pointer. All
// operations run on the editor thread, except ValueFromPlugIn and
// AuxValueFromPlugIn, which a host's parameter change may deliver on another
// thread under the instance lock.
class IControl {
 public:
  IControl(IPluginBase* plug, const IBounds& rect, int paramIndex, const IBlendSpec& blend);
  virtual ~IControl() = default;
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  virtual void PointerDown(int x, int y, const IMouseKeys& keys);
  virtual void PointerUp(int /*x*/, int /*y*/, const IMouseKeys& /*keys*/) {}
  virtual void PointerDrag(int /*x*/, int /*y*/, int /*dX*/, int /*dY*/,
                           const IMouseKeys& /*keys*/) {}
  virtual void PointerDoubleClick(int x, int y, const IMouseKeys& keys);
  virtual void PointerWheel(int /*x*/, int /*y*/, const IMouseKeys& /*keys*/, int /*steps*/) {}
  virtual bool KeyPressed(int /*x*/, int /*y*/, IEditorKey /*key*/) { return false; }
  virtual void PointerHover(int /*x*/, int /*y*/, const IMouseKeys& /*keys*/) {}
  virtual void PointerLeft() {}
  // Paints into the graphics object's canvas; the result is not used.
  virtual bool Paint(IGraphics& graphics) = 0;
  // A value from the plug-in, normalized; the first one becomes the default.
  virtual void ValueFromPlugIn(double normalized);
  // A value the user chose, normalized; the plug-in is told.
  virtual void ValueFromUser(double normalized);
  virtual void TextFromEntry(const char* /*text*/) {}
  virtual void SetHidden(bool hide);
  virtual void SetGreyed(bool grey);
  virtual bool Hit(int x, int y);
  // Clamps the value, flags the control dirty and, with notify, tells the plug-in.
  virtual void MarkDirty(bool notify);
  // A change stays dirty for one more pass, so it is painted twice.
  virtual void MarkClean() {
    dirty = redrawPending;
    redrawPending = false;
  }
  virtual bool IsDirty() { return dirty; }
  virtual void ReservedControlHook() {}
  virtual void AuxValueFromPlugIn(int entry, double normalized);

  // Asks the user for the linked parameter's value through the graphics object.
  void AskForValue();
  // Links a further parameter; its values arrive through AuxValueFromPlugIn.
  bool AddAuxParam(int paramIndex);
  int AuxParamCount() const { return auxParams.Size() / static_cast<int>(sizeof(IAuxParam)); }
  IAuxParam* AuxParamAt(int entry) const;

  // The graphics object this control paints with: the plug-in's editor.
  IGraphics* Graphics() const;

  int entryMaxChars = 7;
  ITextStyle textStyle;
  IPluginBase* plug;
  IBounds drawRect;
  IBounds hitRect;
  int paramIndex;
  HeapBuffer auxParams{4096};
  double value = 0.0;
  double defaultValue = -1.0;
  double minValue = 0.0;
  double maxValue = 1.0;
  bool dirty = true;
  bool hidden = false;
  bool greyed = false;
  bool redrawPending = false;
  bool noValuePrompt = true;
  bool doubleClickAsDown = false;
  bool hoverWhenGreyed = false;
  IBlendSpec blend;
  ITextLabel* valueLabel = nullptr;  // not owned
  ITextLabel* nameLabel = nullptr;   // not owned
  HeapString tooltip{128};
};
