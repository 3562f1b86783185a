#pragma once
// A picture static: a framed area with a backing image that device contexts of the control draw into.
// It starts with the template's bitmap or icon, if any.

#include "SurfaceWidget.h"

#include <QPixmap>

namespace kavrino {

class PictureWidget : public SurfaceWidget {
public:
    explicit PictureWidget(QWidget* parent, bool framed);
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void DrawPicture();
    QPixmap m_picture;
    bool m_framed;
};

} // namespace kavrino
