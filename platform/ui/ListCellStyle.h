#pragma once
// The style of a list control's cells: the application's style, with the text of a cell one pixel from
// its edges (the list control's narrow columns show their texts whole where the default margins of three
// pixels a side would cut them short).

#include <QProxyStyle>

namespace kavrino {

class ListCellStyle : public QProxyStyle {
public:
    explicit ListCellStyle(QObject* owner);
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

} // namespace kavrino
