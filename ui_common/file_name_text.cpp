#include "file_name_text.h"

#include <QMimeData>
#include <QUrl>

#include "file_names.h"

namespace marrowick {
namespace {

bool IsLoneSurrogate(const QString& text, qsizetype i) {
    const QChar c = text[i];
    if (c.isHighSurrogate()) {
        return i + 1 >= text.size() || !text[i + 1].isLowSurrogate();
    }
    return c.isLowSurrogate() && (i == 0 || !text[i - 1].isHighSurrogate());
}

}  // namespace

QString DecodeFileName(std::string_view bytes) {
    const NameRule rule = SystemNameRule();
    QString name;
    while (!bytes.empty()) {
        const NamePiece piece = NextNamePiece(bytes, rule);
        if (piece.kept != 0) {
            name += QChar(piece.kept);
        } else {
            name += QString::fromUtf8(bytes.data(), static_cast<qsizetype>(piece.size));
        }
        bytes.remove_prefix(piece.size);
    }
    return name;
}

std::string EncodeFileName(const QString& name) {
    const NameRule rule = SystemNameRule();
    std::string bytes;
    qsizetype valid = 0;  // start of the run not yet encoded
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!name[i].isSurrogate() || !IsLoneSurrogate(name, i)) {
            continue;
        }
        std::string kept;
        if (AppendKeptUnit(kept, name[i].unicode(), rule)) {
            bytes += name.mid(valid, i - valid).toStdString() + kept;
            valid = i + 1;
        }
    }
    return bytes + name.mid(valid).toStdString();
}

QString PrintableName(const QString& name) {
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i].category() == QChar::Other_Control) {
            shown[i] = QLatin1Char(' ');
        } else if (shown[i].isSurrogate() && IsLoneSurrogate(name, i)) {
            shown[i] = QChar::ReplacementCharacter;  // a piece of a name that is not UTF-8
        }
    }
    return shown;
}

QStringList LocalPaths(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return {};
    }
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        paths << url.toLocalFile();
    }
    return paths;
}

}  // namespace marrowick
