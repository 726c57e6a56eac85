#include "window_look.h"

#include <QPalette>
#include <QWidget>

#include "cp1252.h"

namespace marrowick {

QString FromFileText(std::string_view bytes) {
    return QString::fromStdString(Cp1252ToUtf8(bytes));
}

QString LiteralCaption(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
    return escaped;
}

void SetColours(QWidget* widget, const QColor& background, const QColor& text) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Button, background);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace marrowick
