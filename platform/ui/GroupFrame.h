#pragma once
// A group box drawn as the original platform draws one: an etched frame whose top edge runs through the
// middle of the title line, and the title on that edge, seven pixels in from either side.

#include <QGroupBox>

namespace kavrino {

class GroupFrame : public QGroupBox {
public:
    GroupFrame(const QString& title, QWidget* parent);
    // Where the title may be drawn, in the box's pixels; a longer title is cut at its right edge.
    QRect TitleRoom() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kavrino
