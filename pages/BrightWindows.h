#pragma once
// The five brightness measurement windows, each {left, top, width, height} in image pixels, in the order
// centre, left-top, right-top, left-bottom, right-bottom. Written by the brightness pages, measured by
// the display on every tick while a brightness mode is on.

extern int g_rcBrightWindow[5][4];
