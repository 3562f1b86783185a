#pragma once
// Routes a control's Qt events into the window system: mouse events to the message map of the object
// attached to the control (when it handles them; Default() then gives the event to the control), clicks
// on notifying pictures, focus changes of edits, and the slider's release.

#include <QObject>

class QWidget;

namespace kavrino {

class ControlFilter : public QObject {
public:
    static void Install(QWidget* control, QWidget* client);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace kavrino
