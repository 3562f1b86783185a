#pragma once
// The alignment parameters: written by the alignment page (its edits and its test-set section), read by
// the display on every tick to draw the axis cross, the tolerance segments and the magnified edge boxes.
// All values are image pixels except the zoom factor.

// Axis position (red cross); set to the middle of the image when the page loads its parameters.
extern int g_nAlignCenterX;
extern int g_nAlignCenterY;
// Distance of the top/bottom segments from the centre's x, and of the left/right ones from its y.
extern int g_nAlignThresholdX;
extern int g_nAlignThresholdY;
// Lengths of the tolerance segments, measured in from each image edge.
extern int g_nAlignTop;
extern int g_nAlignBottom;
extern int g_nAlignLeft;
extern int g_nAlignRight;
// Magnification of the edge boxes.
extern int g_nEdgeZoom;
// Width 1 and height 1 of the top and bottom boxes, width 2 and height 2 of the left and right boxes.
extern int g_nEdgeBoxSize[4];
