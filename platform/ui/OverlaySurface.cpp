#include "OverlaySurface.h"

#include "UiThread.h"

#include <QPainter>

namespace kavrino {

class OverlaySurface::Layer : public QWidget {
public:
    Layer(QWidget* parent, const QImage* image) : QWidget(parent), m_image(image) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(parent->rect());
        show();
        raise();
    }
    const QImage* m_image;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, *m_image);
    }
};

OverlaySurface::OverlaySurface(QWidget* client) : m_client(client) {
    if (client) {
        // Transparent until drawn on; the pixel layout is the one of RGB32 with alpha.
        m_image = QImage(client->size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32);
        m_image.fill(Qt::transparent);
        m_layer = new Layer(client, &m_image);
    }
}

OverlaySurface::~OverlaySurface() {
    delete m_layer.data();
}

QImage& OverlaySurface::Image() {
    return m_image;
}

void OverlaySurface::Flush() {
    if (!m_layer)
        return;
    if (IsUiThread())
        m_layer->update();
    else
        PostToUiThread([layer = m_layer] {
            if (layer)
                layer->update();
        });
}

} // namespace kavrino
