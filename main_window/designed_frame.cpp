#include "designed_frame.h"

#include <QPainter>
#include <QStyle>

namespace marrowick {

void DesignedFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height() / 2;

    // An etched line: a shadow with a highlight one pixel inside it.
    const QRect box = rect().adjusted(0, line, -2, -2);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(box);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(box.translated(1, 1));

    if (title().isEmpty()) {
        return;
    }
    // The caption interrupts the line; "&&" in it shows as one '&'.
    const int width = metrics.size(Qt::TextShowMnemonic, title()).width();
    const QRect caption(6, 0, width + 4, metrics.height());
    painter.fillRect(caption, palette().color(backgroundRole()));
    style()->drawItemText(&painter, caption.adjusted(2, 0, -2, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(),
                          isEnabled(), title(), foregroundRole());
}

}  // namespace marrowick
