#include "GroupFrame.h"

#include <QPainter>
#include <QStyle>

namespace kavrino {

namespace {
constexpr int kTitleInset = 7;
} // namespace

GroupFrame::GroupFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

QRect GroupFrame::TitleRoom() const {
    return QRect(kTitleInset, 0, std::max(0, width() - 2 * kTitleInset), fontMetrics().height());
}

void GroupFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics fm = fontMetrics();
    const int top = fm.height() / 2 - 1;
    const QRect frame = rect().adjusted(0, top, -2, -2);
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(frame.translated(1, 1));
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(frame);
    const QString text = title();
    if (text.isEmpty())
        return;
    const QRect room = TitleRoom();
    const int width = std::min(room.width(), fm.size(Qt::TextShowMnemonic, text).width());
    // The title covers the frame's edge, with one pixel of background on either side.
    p.fillRect(QRect(room.left() - 1, 0, width + 2, room.height() + 1), palette().color(backgroundRole()));
    p.setClipRect(room);
    style()->drawItemText(&p, QRect(room.left(), 0, width, room.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                          text, QPalette::WindowText);
}

} // namespace kavrino
