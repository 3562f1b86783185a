#pragma once
// The GDI+ drawing library: bitmaps, graphics objects, pens, brushes, fonts and text.

#include "GdiplusTypes.h"
#include "PixelFormats.h"
#include "Color.h"
#include "Geometry.h"
#include "GdiplusStartup.h"
#include "Image.h"
#include "Bitmap.h"
#include "Pen.h"
#include "Brush.h"
#include "SolidBrush.h"
#include "FontFamily.h"
#include "Font.h"
#include "StringFormat.h"
#include "Graphics.h"
#include "DeviceSurface.h"
