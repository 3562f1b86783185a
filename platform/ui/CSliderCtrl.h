#pragma once
// A slider (track bar). NM_RELEASEDCAPTURE reaches the parent (WM_NOTIFY) when the user lets it go.

#include "CWnd.h"

class CSliderCtrl : public CWnd {
public:
    void SetRange(int minPos, int maxPos, BOOL redraw = FALSE);
    void SetRangeMin(int minPos, BOOL redraw = FALSE);
    void SetRangeMax(int maxPos, BOOL redraw = FALSE);
    void GetRange(int& minPos, int& maxPos) const;
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetPos(int pos);
    int GetPos() const;
    void SetTicFreq(int freq);
    int SetPageSize(int size);
    int GetPageSize() const;
    int SetLineSize(int size);
    int GetLineSize() const;
};
