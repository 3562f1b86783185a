#pragma once
// The pens, brushes and fonts of the display's drawing, made once with the window and kept between
// ticks, so that a tick makes none of them. (The column bars and the click cross are written into the
// image directly.)

#include "Platform.h"

struct DisplayTools {
    // The frame-rate text and every label: "맑은고딕", 24 pixels, bold.
    Gdiplus::Font font{L"맑은고딕", 24.0f, Gdiplus::FontStyleBold, Gdiplus::UnitPixel};
    Gdiplus::SolidBrush frameRateText{Gdiplus::Color(255, 255, 127, 39)};
    // The alignment overlay.
    Gdiplus::Pen centreCross{Gdiplus::Color(255, 255, 0, 0), 0.0f};
    Gdiplus::Pen toleranceSegment{Gdiplus::Color(255, 0, 0, 255), 0.0f};
    Gdiplus::Pen edgeBoxFrame{Gdiplus::Color(255, 0, 255, 0), 0.0f};
    Gdiplus::SolidBrush edgeBoxLabel{Gdiplus::Color(255, 197, 2, 186)};
    // The measurement windows.
    Gdiplus::Pen windowFrame{Gdiplus::Color(255, 0, 0, 255), 0.0f};
    Gdiplus::SolidBrush valueLabel{Gdiplus::Color(255, 224, 75, 109)};
};
