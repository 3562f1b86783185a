#pragma once
// Everything the system's code is written against: the window system, the kernel services, the strings,
// the private-profile files, GDI+, the imaging library and the GenICam stand-ins.

#include "WinTypes.h"
#include "CString.h"
#include "CStringList.h"
#include "StringConv.h"
#include "Crt.h"
#include "Kernel.h"
#include "Gdiplus.h"
#include "Profile.h"
#include "CFile.h"
#include "Afx.h"
