#pragma once
// The client area of a dialog: its controls live in it, its device contexts draw on its backing image,
// and its paint, size and mouse events become the window's messages. A top-level dialog without scroll
// bars is its own window; its close box and system menu are handled here too.

#include "SurfaceWidget.h"
#include "WinTypes.h"

namespace kavrino {

class ClientWidget : public SurfaceWidget {
public:
    explicit ClientWidget(QWidget* parent = nullptr);
    void SetHandle(HWND hwnd) { m_hwnd = hwnd; }

protected:
    void BeforeBlit() override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Mouse(QMouseEvent* event);
    HWND m_hwnd = nullptr;
    bool m_painting = false;
};

} // namespace kavrino
