#include "BrightWindows.h"

int g_rcBrightWindow[5][4] = {};
