#pragma once
// The image-drawing loops: nearest-neighbour copies from a bitmap of any format into 24- and 32-bit
// pixel memory. A 1:1 copy of equal layouts is a row memcpy, and a row that repeats the one above it
// (vertical magnification) is copied from the target row already written; everything else is one pass
// over the target pixels through the column map. Sources with alpha are blended source-over.

#include "PixelView.h"

namespace kavrino::gdip {

// True for the target formats the loops write: 24-bit RGB and the 32-bit formats.
bool CanBlitInto(PixelFormat target);

// Target pixel (x0 + i, y0 + j), 0 <= i < columns, 0 <= j < rows, takes source pixel (xmap[i], ymap[j]).
// Every map entry and every target pixel must lie inside its bitmap.
void BlitNearest(const PixelView& source, const PixelView& target, int x0, int y0, const int* xmap,
                 int columns, const int* ymap, int rows);

} // namespace kavrino::gdip
