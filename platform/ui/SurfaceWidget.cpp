#include "SurfaceWidget.h"

#include "UiThread.h"

#include <QPainter>
#include <QPointer>
#include <QPaintEvent>

namespace kavrino {

SurfaceWidget::SurfaceWidget(QWidget* parent)
    : QWidget(parent), m_background(palette().color(QPalette::Window)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& SurfaceWidget::Image() {
    QSize want = size().expandedTo(QSize(1, 1));
    if (m_image.size() != want) {
        QImage image(want, QImage::Format_RGB32);
        image.fill(m_background);
        if (!m_image.isNull()) {
            QPainter p(&image);
            p.drawImage(0, 0, m_image);
        }
        m_image = std::move(image);
    }
    return m_image;
}

void SurfaceWidget::Flush() {
    if (IsUiThread())
        update();
    else
        PostToUiThread([widget = QPointer<SurfaceWidget>(this)] {
            if (widget)
                widget->update();
        });
}

void SurfaceWidget::Erase() {
    Image().fill(m_background);
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
    Image();
    BeforeBlit();
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r.topLeft(), Image(), r);
}

} // namespace kavrino
