#include "FrameWidget.h"

#include "ClientWidget.h"
#include "UiInternal.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QScrollBar>

namespace kavrino {

FrameWidget::FrameWidget(bool horizontal, bool vertical)
    : QWidget(nullptr), m_client(new ClientWidget(this)) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(m_client, 0, 0);
    if (vertical) {
        m_vbar = new QScrollBar(Qt::Vertical, this);
        grid->addWidget(m_vbar, 0, 1);
        Connect(m_vbar, WM_VSCROLL);
    }
    if (horizontal) {
        m_hbar = new QScrollBar(Qt::Horizontal, this);
        grid->addWidget(m_hbar, 1, 0);
        Connect(m_hbar, WM_HSCROLL);
    }
}

void FrameWidget::Connect(QScrollBar* bar, UINT message) {
    QObject::connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, message](int action) {
        UINT code;
        switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            code = SB_LINEUP;
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            code = SB_LINEDOWN;
            break;
        case QAbstractSlider::SliderPageStepSub:
            code = SB_PAGEUP;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            code = SB_PAGEDOWN;
            break;
        case QAbstractSlider::SliderToMinimum:
            code = SB_TOP;
            break;
        case QAbstractSlider::SliderToMaximum:
            code = SB_BOTTOM;
            break;
        case QAbstractSlider::SliderMove:
            code = SB_THUMBTRACK;
            break;
        default:
            return;
        }
        const int wanted = bar->sliderPosition();
        // The window decides where the bar goes (SetScrollPos in its handler); undo Qt's own step.
        if (code != SB_THUMBTRACK)
            bar->setSliderPosition(bar->value());
        SendTo(m_hwnd, message, MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(wanted)), 0);
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, this, [this, bar, message] {
        const int at = bar->sliderPosition();
        SendTo(m_hwnd, message, MAKEWPARAM(static_cast<WORD>(SB_THUMBPOSITION), static_cast<WORD>(at)), 0);
        SendTo(m_hwnd, message, MAKEWPARAM(static_cast<WORD>(SB_ENDSCROLL), 0), 0);
    });
}

void FrameWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    RequestClose(m_hwnd);
}

void FrameWidget::contextMenuEvent(QContextMenuEvent* event) {
    ShowSystemMenu(m_hwnd, event->globalPos());
}

bool FrameWidget::focusNextPrevChild(bool next) {
    // Tab in a window of the program passes over the controls a page covers.
    if (!isWindow())
        return QWidget::focusNextPrevChild(next);
    return MoveTabFocus(this, next);
}

} // namespace kavrino
