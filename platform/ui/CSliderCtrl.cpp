#include "CSliderCtrl.h"

#include "UiInternal.h"

#include <QSlider>

using namespace kavrino;

namespace {
QSlider* SliderOf(WindowState& s) {
    return qobject_cast<QSlider*>(s.widget.data());
}
} // namespace

void CSliderCtrl::SetRange(int minPos, int maxPos, BOOL) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        if (QSlider* sl = SliderOf(s)) {
            QuietScope quiet;
            sl->setRange(minPos, std::max(minPos, maxPos));
        }
    });
}

void CSliderCtrl::SetRangeMin(int minPos, BOOL redraw) {
    SetRange(minPos, GetRangeMax(), redraw);
}

void CSliderCtrl::SetRangeMax(int maxPos, BOOL redraw) {
    SetRange(GetRangeMin(), maxPos, redraw);
}

void CSliderCtrl::GetRange(int& minPos, int& maxPos) const {
    minPos = GetRangeMin();
    maxPos = GetRangeMax();
}

int CSliderCtrl::GetRangeMin() const {
    return WithWindow(m_hWnd, 0, [](WindowState& s) {
        QSlider* sl = SliderOf(s);
        return sl ? sl->minimum() : 0;
    });
}

int CSliderCtrl::GetRangeMax() const {
    return WithWindow(m_hWnd, 0, [](WindowState& s) {
        QSlider* sl = SliderOf(s);
        return sl ? sl->maximum() : 0;
    });
}

void CSliderCtrl::SetPos(int pos) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        if (QSlider* sl = SliderOf(s)) {
            QuietScope quiet;
            sl->setValue(pos);
        }
    });
}

int CSliderCtrl::GetPos() const {
    return WithWindow(m_hWnd, 0, [](WindowState& s) {
        QSlider* sl = SliderOf(s);
        return sl ? sl->value() : 0;
    });
}

void CSliderCtrl::SetTicFreq(int freq) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        if (QSlider* sl = SliderOf(s)) {
            sl->setTickInterval(freq);
            sl->setTickPosition(QSlider::TicksBelow);
        }
    });
}

int CSliderCtrl::SetPageSize(int size) {
    return WithWindow(m_hWnd, 0, [&](WindowState& s) {
        QSlider* sl = SliderOf(s);
        if (!sl)
            return 0;
        const int old = sl->pageStep();
        sl->setPageStep(size);
        return old;
    });
}

int CSliderCtrl::GetPageSize() const {
    return WithWindow(m_hWnd, 0, [](WindowState& s) {
        QSlider* sl = SliderOf(s);
        return sl ? sl->pageStep() : 0;
    });
}

int CSliderCtrl::SetLineSize(int size) {
    return WithWindow(m_hWnd, 0, [&](WindowState& s) {
        QSlider* sl = SliderOf(s);
        if (!sl)
            return 0;
        const int old = sl->singleStep();
        sl->setSingleStep(size);
        return old;
    });
}

int CSliderCtrl::GetLineSize() const {
    return WithWindow(m_hWnd, 0, [](WindowState& s) {
        QSlider* sl = SliderOf(s);
        return sl ? sl->singleStep() : 0;
    });
}
