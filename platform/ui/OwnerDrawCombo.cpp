#include "OwnerDrawCombo.h"

#include "OwnerDrawItem.h"

#include <QAbstractItemView>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace kavrino {

UINT OwnerDrawCombo::ItemState() const {
    UINT state = ODS_COMBOBOXEDIT;
    if (hasFocus() && !view()->isVisible())
        state |= ODS_SELECTED | ODS_FOCUS;
    if (!isEnabled())
        state |= ODS_DISABLED;
    return state;
}

// The field's state changes with the list opening and closing.
void OwnerDrawCombo::showPopup() {
    QComboBox::showPopup();
    update();
}

void OwnerDrawCombo::hidePopup() {
    QComboBox::hidePopup();
    update();
}

void OwnerDrawCombo::paintEvent(QPaintEvent* event) {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const int selected = currentIndex();
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.itemID = static_cast<UINT>(selected);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ItemState();
    item.itemData = selected >= 0 ? static_cast<ULONG_PTR>(itemData(selected).value<qulonglong>()) : 0;
    const QImage painted =
        PaintOwnerDrawnItem(this, m_hwnd, item, field.size(), palette().color(QPalette::Base));
    if (painted.isNull()) {
        QComboBox::paintEvent(event);
        return;
    }
    // The frame and the drop-down button without the entry's text, then the dialog's picture of the field.
    QStylePainter p(this);
    option.currentText.clear();
    option.currentIcon = QIcon();
    p.drawComplexControl(QStyle::CC_ComboBox, option);
    p.drawImage(field.topLeft(), painted);
}

} // namespace kavrino
