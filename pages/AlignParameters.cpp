#include "AlignParameters.h"

int g_nAlignCenterX = 0;
int g_nAlignCenterY = 0;
int g_nAlignThresholdX = 10;
int g_nAlignThresholdY = 10;
int g_nAlignTop = 200;
int g_nAlignBottom = 200;
int g_nAlignLeft = 200;
int g_nAlignRight = 200;
int g_nEdgeZoom = 4;
int g_nEdgeBoxSize[4] = {76, 56, 56, 76};
