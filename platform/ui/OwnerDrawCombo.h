#pragma once
// A drop-down list whose selection field its dialog paints (CBS_OWNERDRAWFIXED, CBS_OWNERDRAWVARIABLE):
// each paint of the closed field sends WM_DRAWITEM to the parent with the selected entry (itemID, -1 for
// none) and the field's state - ODS_COMBOBOXEDIT always, ODS_SELECTED and ODS_FOCUS while the list has
// the focus and is closed (the field then shows its entry selected), ODS_DISABLED - and an HDC over the
// field, between the frame and the drop-down button, which the control keeps drawing itself. The opened
// list's entries are drawn by the control.

#include "WinTypes.h"

#include <QComboBox>

namespace kavrino {

class OwnerDrawCombo : public QComboBox {
public:
    explicit OwnerDrawCombo(QWidget* parent) : QComboBox(parent) {}
    void SetHandle(HWND hwnd) { m_hwnd = hwnd; }
    // The state bits the next paint of the selection field hands over.
    UINT ItemState() const;

    void showPopup() override;
    void hidePopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    HWND m_hwnd = nullptr;
};

} // namespace kavrino
