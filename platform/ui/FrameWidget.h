#pragma once
// A top-level window with scroll bars: the client area and, beside it, a vertical and a horizontal bar.
// The client rectangle excludes the bars. User scrolling becomes WM_HSCROLL / WM_VSCROLL with the SB_*
// codes; the bars move only when the window sets their position, as the original's bars do.

#include "WinTypes.h"

#include <QWidget>

class QScrollBar;

namespace kavrino {

class ClientWidget;

class FrameWidget : public QWidget {
public:
    FrameWidget(bool horizontal, bool vertical);
    void SetHandle(HWND hwnd) { m_hwnd = hwnd; }
    ClientWidget* Client() const { return m_client; }
    QScrollBar* Bar(int which) const { return which == 0 ? m_hbar : m_vbar; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Connect(QScrollBar* bar, UINT message);
    HWND m_hwnd = nullptr;
    ClientWidget* m_client;
    QScrollBar* m_hbar = nullptr;
    QScrollBar* m_vbar = nullptr;
};

} // namespace kavrino
