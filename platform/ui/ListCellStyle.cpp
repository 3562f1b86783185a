#include "ListCellStyle.h"

namespace kavrino {

ListCellStyle::ListCellStyle(QObject* owner) {
    setParent(owner);
}

int ListCellStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    // A cell's text margin is this margin plus one.
    if (metric == PM_FocusFrameHMargin)
        return 0;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

} // namespace kavrino
