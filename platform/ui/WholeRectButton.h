#pragma once
// A radio button or check box that takes a click anywhere in its rectangle, as the window system's
// buttons do: the mouse down gives it the focus, the release inside it clicks it (BN_CLICKED), and it
// shows itself pressed while the pointer stays inside. The style alone answers only over the indicator
// and the label's text, which left the rest of a control's template rectangle (right of a short label
// such as "작업자 :" or "FAIL") dead to the mouse.

#include <QPoint>

namespace kavrino {

template <class Button> class WholeRectButton : public Button {
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

} // namespace kavrino
