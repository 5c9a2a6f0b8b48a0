#pragma once
#include <cstdint>

class PIX_IBitmap;

// A colour with straight alpha, each channel 0 to 255.
struct IColorARGB {
  int A = 255;
  int R = 0;
  int G = 0;
  int B = 0;
};
constexpr IColorARGB kColorBlack{255, 0, 0, 0};
constexpr IColorARGB kColorWhite{255, 255, 255, 255};

// How a control's text and its entry field look.
struct ITextStyle {
  enum Style { kNormal = 0, kBold = 1, kItalic = 2 };
  enum Align { kLeft = 0, kCentre = 1, kRight = 2 };
  enum Quality { kDefault = 0, kNonAntialiased = 1, kAntialiased = 2, kClearType = 3 };

  char fontName[32] = "Verdana";
  int size = 12;
  IColorARGB color = kColorBlack;
  IColorARGB entryBackground = kColorWhite;
  IColorARGB entryForeground = kColorBlack;
  int style = kNormal;
  int align = kCentre;
  int orientation = 0;  // degrees
  int quality = kDefault;
  void* cachedFont = nullptr;  // filled by the font cache, not owned
};

// An editor image: frames stacked top to bottom, or side by side when
// framesAcross. The bitmap belongs to the image cache.
struct IBitmapStrip {
  PIX_IBitmap* bitmap = nullptr;
  int width = 0;  // all frames together
  int height = 0;
  int frames = 1;
  bool framesAcross = false;
};

// Buttons and modifiers held during a pointer event.
struct IMouseKeys {
  bool left = false;
  bool right = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
};

// How an image is composited: copy weighted by its alpha, plain copy,
// additive or dodge; weight 1.0 is opaque, a greyed control uses 0.25.
struct IBlendSpec {
  enum Method { BlendNormal = 0, BlendReplace = 1, BlendAdditive = 2, BlendDodge = 3 };
  int method = BlendNormal;
  float weight = 1.0f;
};

// Keys handed to controls: 0 space, 1 to 4 arrows, 5 to 14 digits, 15 to 40 letters.
enum IEditorKey : int32_t {
  kKeySpace = 0,
  kKeyUp = 1,
  kKeyDown = 2,
  kKeyLeft = 3,
  kKeyRight = 4,
  kKeyDigit0 = 5,
  kKeyLetterA = 15,
  kKeyLetterZ = 40,
};
