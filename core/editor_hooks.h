#pragma once

// What the plug-in core needs of an editor. The editor's graphics core
// implements it; the core owns the editor and deletes it through this interface.
class IEditorHooks {
 public:
  virtual ~IEditorHooks() = default;
  // Hands a parameter's value (normalized, or real when normalized is false)
  // to the controls bound to it. Called under the instance lock.
  virtual void PushParamToControls(int paramIndex, double value, bool normalized) = 0;
  // Makes the drawing surface for the editor's current size. Editor thread.
  virtual void PrepareDrawing() = 0;
  // The editor's size in pixels, which the binding reports to the host. Any thread.
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};
