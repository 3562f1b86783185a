#include "CClientDC.h"

#include "CWnd.h"
#include "OverlaySurface.h"
#include "UiInternal.h"

using namespace kavrino;

namespace {
// The surface that a context of the window draws on: its backing image, or an overlay over a control.
DeviceSurface* WindowSurface(WindowState& s) {
    if (DeviceSurface* surface = s.Surface())
        return surface;
    if (!s.overlay && s.client)
        s.overlay = std::make_unique<OverlaySurface>(s.client);
    return s.overlay.get();
}
} // namespace

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    DeviceSurface* surface = WithWindow(m_hWnd, static_cast<DeviceSurface*>(nullptr), [](WindowState& s) {
        DeviceSurface* d = WindowSurface(s);
        if (d)
            d->origin = QPoint(0, 0);
        return d;
    });
    m_hDC = surface ? ToHdc(surface) : nullptr;
}

CClientDC::~CClientDC() {
    if (!m_hDC)
        return;
    HDC hdc = m_hDC;
    // Only while the window still has this surface: a destroyed window's surface is gone.
    WithWindowDo(m_hWnd, [hdc](WindowState& s) {
        DeviceSurface* d = s.Surface() ? s.Surface() : s.overlay.get();
        if (d && ToHdc(d) == hdc) {
            d->origin = QPoint(0, 0);
            d->Flush();
        }
    });
    ReleaseTempDC(hdc);
}
