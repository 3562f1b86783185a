#pragma once
// A widget that shows a backing image, which device contexts of its window draw into. Painting is one
// blit of the image.

#include "DeviceSurface.h"

#include <QColor>
#include <QImage>
#include <QWidget>

namespace kavrino {

class SurfaceWidget : public QWidget, public DeviceSurface {
public:
    explicit SurfaceWidget(QWidget* parent = nullptr);

    QImage& Image() override;
    // Shows the drawing; safe from any thread.
    void Flush() override;
    // Fills the image with the background (an invalidation that erases).
    void Erase();
    void SetBackground(const QColor& color) { m_background = color; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Called before the image is shown (the window's WM_PAINT).
    virtual void BeforeBlit() {}

    QImage m_image;
    QColor m_background;
};

} // namespace kavrino
