#include "OwnerDrawButton.h"

#include "OwnerDrawItem.h"

#include <QPainter>

namespace kavrino {

UINT OwnerDrawButton::ItemState() const {
    UINT state = 0;
    if (isDown())
        state |= ODS_SELECTED;
    if (hasFocus())
        state |= ODS_FOCUS;
    if (!isEnabled())
        state |= ODS_DISABLED;
    return state;
}

void OwnerDrawButton::paintEvent(QPaintEvent* event) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ItemState();
    const QImage painted = PaintOwnerDrawnItem(this, m_hwnd, item, size(), palette().color(QPalette::Button));
    if (painted.isNull()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter p(this);
    p.drawImage(0, 0, painted);
}

} // namespace kavrino
