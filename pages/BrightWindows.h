#pragma once
// The five brightness measurement windows, each {left, top, width, height} in image pixels, in the order
// centre, left-top, right-top, left-bottom, right-bottom. Written by the brightness pages, measured by
// the display on every tick while a brightness mode is on.
//
// Both brightness pages keep the windows in section "BRIGHT" of the test-set file and show them in edits
// with the same ids; the centre-brightness page knows only the first four fields (the centre window).

#include "Platform.h"

class CKavrinoDlg;

extern int g_rcBrightWindow[5][4];

// One value of a window: its key in section "BRIGHT" (a key ending in "right" holds the width, one
// ending in "bottom" the height) and the edit that shows it.
struct BrightWindowField {
    const wchar_t* key;
    int nEditId;
    int nWindow; // index into g_rcBrightWindow
    int nField;  // 0 left, 1 top, 2 width, 3 height
};

// The fields in the order the file is read and written: centre, left-top, right-top, left-bottom,
// right-bottom.
constexpr int kBrightFieldCount = 20;
constexpr int kBrightCentreFieldCount = 4;
extern const BrightWindowField g_brightWindowFields[kBrightFieldCount];

// The section of the test-set file that holds the windows.
extern const wchar_t* const kBrightSection;

// The place of a field when the file has no value for it: the centre window in the middle of the image,
// the corner windows 10 pixels in from their corners, every window 100 x 100 (g_nImageWidth and
// g_nImageHeight, halves truncated toward zero).
int BrightWindowDefault(int nWindow, int nField);

// Reads the first nCount fields from the test-set file: a value that is there is taken as a decimal
// number (0 when it does not start with one), a missing or empty one gives the default.
void LoadBrightWindows(int nCount);
// Writes the first nCount fields to the test-set file as "%d". Every field is attempted; the result is
// whether all of them reached the file.
bool SaveBrightWindows(int nCount);
// Writes the first nCount fields into their edits of the page (each edit's change handler stores the
// same value back).
void ShowBrightWindows(CWnd* pPage, int nCount);
// Stores the value of one of the page's edits (a signed number; 0 when the text is not a number) into
// its field, when the edit is among the first nCount fields.
void StoreBrightEdit(CWnd* pPage, int nEditId, int nCount);

// The colour channel the display measures on a colour camera (its three channel flags).
void SelectBrightChannel(CKavrinoDlg* pMainDlg, bool bRed, bool bGreen, bool bBlue);
// The big bold font of a page's read-out static.
void SetBrightReadoutFont(CWnd* pPage, CFont& font, int nStaticId);
