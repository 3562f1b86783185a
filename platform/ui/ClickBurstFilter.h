#pragma once
// Quick clicks at one spot belong to the control that was under the pointer when they began. A click
// changes what is shown (a test page's verdict brings up the next page, a step brings up a message box);
// the second click of the operator's double click, or a third, must not land on the window that came up
// under the pointer meanwhile and press a button the operator has not seen. A press that follows the
// previous one within the double-click time and distance, on another control than the one that press
// started at, is dropped with its release; the burst goes on while the presses keep coming. Presses
// without a time (events a program makes itself) start no burst and end none.

#include <QObject>
#include <QPoint>
#include <QPointer>

class QMouseEvent;
class QWidget;

namespace kavrino {

class ClickBurstFilter : public QObject {
public:
    // Installs the filter on the application once.
    static void Ensure();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // TRUE when the press is the next click of a burst that began on another control.
    bool StraysFromBurst(QWidget* widget, const QMouseEvent* press);

    QPointer<QWidget> m_burstStart; // the control the burst's first press went to
    bool m_burstStarted = false;
    ulong m_lastTime = 0; // the latest press of the burst
    QPoint m_lastPos;     // in screen coordinates
    int m_lastButton = 0;
    QPointer<QWidget> m_dropping; // the control whose press was dropped, until its release
};

} // namespace kavrino
