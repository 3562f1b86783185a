#pragma once
// A push button painted by its dialog: each paint sends WM_DRAWITEM to the parent with the button's state
// (ODS_SELECTED while held down, ODS_FOCUS, ODS_DISABLED) and an HDC over the button's pixels.

#include "WinTypes.h"

#include <QPushButton>

namespace kavrino {

class OwnerDrawButton : public QPushButton {
public:
    explicit OwnerDrawButton(QWidget* parent) : QPushButton(parent) {}
    void SetHandle(HWND hwnd) { m_hwnd = hwnd; }
    // The state bits the next paint hands over.
    UINT ItemState() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    HWND m_hwnd = nullptr;
};

} // namespace kavrino
