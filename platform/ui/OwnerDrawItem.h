#pragma once
// The painting of an owner-drawn control's item by the control's parent: WM_DRAWITEM with the item's
// description and a context over a picture of the item's rectangle, filled with the control's own
// background first and with the control's font selected, as the original control hands it out.

#include "UiDefs.h"

#include <QImage>

class QWidget;

namespace kavrino {

// Sends the control's parent WM_DRAWITEM for the item (CtlID, hwndItem, hDC and rcItem are filled in
// here; rcItem spans the picture). Returns the picture the parent painted, or a null picture when the
// control has no parent or the parent does not handle the message (the control then paints itself).
QImage PaintOwnerDrawnItem(QWidget* control, HWND hwnd, DRAWITEMSTRUCT item, const QSize& size,
                           const QColor& background);

} // namespace kavrino
