#include "PictureWidget.h"

#include <QPainter>

namespace kavrino {

PictureWidget::PictureWidget(QWidget* parent, bool framed) : SurfaceWidget(parent), m_framed(framed) {}

void PictureWidget::SetPicture(const QPixmap& picture) {
    m_picture = picture;
    DrawPicture();
    update();
}

void PictureWidget::DrawPicture() {
    QImage& image = Image();
    image.fill(m_background);
    if (!m_picture.isNull()) {
        QPainter p(&image);
        p.drawPixmap(0, 0, m_picture);
    }
}

void PictureWidget::resizeEvent(QResizeEvent* event) {
    SurfaceWidget::resizeEvent(event);
    DrawPicture();
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    SurfaceWidget::paintEvent(event);
    if (m_framed) {
        QPainter p(this);
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace kavrino
