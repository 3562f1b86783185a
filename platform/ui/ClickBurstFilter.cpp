#include "ClickBurstFilter.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>

namespace kavrino {

void ClickBurstFilter::Ensure() {
    static ClickBurstFilter* filter = nullptr;
    if (!filter && QCoreApplication::instance()) {
        filter = new ClickBurstFilter;
        QCoreApplication::instance()->installEventFilter(filter);
    }
}

bool ClickBurstFilter::StraysFromBurst(QWidget* widget, const QMouseEvent* press) {
    const ulong time = press->timestamp();
    const QPoint pos = press->globalPos();
    const int button = static_cast<int>(press->button());
    const QStyleHints* hints = QGuiApplication::styleHints();
    const bool next = m_burstStarted && button == m_lastButton && time >= m_lastTime &&
                      time - m_lastTime <= static_cast<ulong>(hints->mouseDoubleClickInterval()) &&
                      (pos - m_lastPos).manhattanLength() <= hints->mouseDoubleClickDistance();
    m_lastTime = time;
    m_lastPos = pos;
    m_lastButton = button;
    if (!next) {
        m_burstStart = widget;
        m_burstStarted = true;
        return false;
    }
    return m_burstStart != widget;
}

bool ClickBurstFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease)
        return false;
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (type == QEvent::MouseButtonRelease) {
        if (!m_dropping || m_dropping != widget)
            return false;
        m_dropping = nullptr;
        return true;
    }
    // The second press of a double click comes as a double click alone, or after its press.
    if (mouse->timestamp() == 0)
        return false;
    const bool samePress = m_burstStarted && mouse->timestamp() == m_lastTime &&
                           mouse->globalPos() == m_lastPos &&
                           static_cast<int>(mouse->button()) == m_lastButton;
    if (samePress) // its double click, or the press on its way up to a parent
        return m_dropping && m_dropping == widget;
    m_dropping = nullptr;
    if (!StraysFromBurst(widget, mouse))
        return false;
    m_dropping = widget;
    return true;
}

} // namespace kavrino
