// File names between the system's bytes and the windows' QStrings. A name is
// decoded without loss: a piece that is not UTF-8 becomes the UTF-16 unit it
// stands for (see file_names.h), a lone surrogate, and encodes back to its
// bytes, so a name shown or chosen in a window opens the same file.
#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <string_view>

class QMimeData;

namespace marrowick {

QString DecodeFileName(std::string_view bytes);
std::string EncodeFileName(const QString& name);

// A decoded name as a widget shows it: control characters become blanks, the
// lone surrogates of pieces that are not UTF-8 become U+FFFD.
QString PrintableName(const QString& name);

// The local files and folders dragged in `data`; none when anything in it is
// not a local file.
QStringList LocalPaths(const QMimeData* data);

}  // namespace marrowick
