// Conversions and looks shared by both windows.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <string>
#include <string_view>

class QWidget;

namespace marrowick {

// File text (Windows-1252 bytes) as a QString.
QString FromFileText(std::string_view bytes);

// Reader output that is already UTF-8 (messages, category names).
inline QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// A caption for a frame, button or check box: '&' would mark a shortcut there,
// so it is doubled to show as itself.
QString LiteralCaption(const QString& text);

// A designed position in twips (15 twips = 1 pixel at the designed scale).
inline QRect Twips(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

inline const QColor kDarkBlue(0, 0, 128);
inline const QColor kLightGrey(224, 224, 224);

// Paints a widget's own background and text, leaving its children alone.
void SetColours(QWidget* widget, const QColor& background, const QColor& text);

}  // namespace marrowick
