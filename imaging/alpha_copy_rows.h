#pragma once
// Rows of source-alpha copy, the blend every control of the editor is drawn
// with; vectorised where the processor allows, with results identical to
// PIX_SourceAlphaOver and PIX_SourceAlphaMix.
#include "imaging/bitmap.h"

void PIX_SourceAlphaOverRow(PIX_PixelWord* dest, const PIX_PixelWord* src, int count);
// Any non-zero weight other than 256.
void PIX_SourceAlphaMixRow(PIX_PixelWord* dest, const PIX_PixelWord* src, int count, int w);
