#pragma once
// Drawing over a control that has no backing image of its own (a list box, say): the drawing goes into a
// transparent layer laid over the control's client area. Invalidating the control removes the layer.

#include "DeviceSurface.h"

#include <QPointer>
#include <QWidget>

namespace kavrino {

class OverlaySurface : public DeviceSurface {
public:
    explicit OverlaySurface(QWidget* client);
    ~OverlaySurface() override;

    QImage& Image() override;
    void Flush() override;

private:
    class Layer;
    QPointer<QWidget> m_client;
    QPointer<Layer> m_layer;
    QImage m_image;
};

} // namespace kavrino
