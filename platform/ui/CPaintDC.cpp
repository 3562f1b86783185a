#include "CPaintDC.h"

#include "CWnd.h"
#include "UiInternal.h"

using namespace kavrino;

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    DeviceSurface* surface = WithWindow(m_hWnd, static_cast<DeviceSurface*>(nullptr), [this](WindowState& s) {
        DeviceSurface* d = s.Surface();
        if (d) {
            d->origin = QPoint(0, 0);
            const QSize size = d->Image().size();
            m_ps.rcPaint = RECT{0, 0, size.width(), size.height()};
        }
        return d;
    });
    m_hDC = surface ? ToHdc(surface) : nullptr;
    m_ps.hdc = m_hDC;
}

CPaintDC::~CPaintDC() {
    // The painting in progress shows the image when it ends; nothing to flush here.
    if (!m_hDC)
        return;
    HDC hdc = m_hDC;
    WithWindowDo(m_hWnd, [hdc](WindowState& s) {
        if (DeviceSurface* d = s.Surface(); d && ToHdc(d) == hdc)
            d->origin = QPoint(0, 0);
    });
    ReleaseTempDC(hdc);
}
