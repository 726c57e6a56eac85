#include "file_names.h"

#include <cstdint>

namespace marrowick {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence at `p` (strict: no overlong forms, no
// encoded surrogates, nothing past U+10FFFF), or 0.
std::size_t Utf8Length(const unsigned char* p, std::size_t left) {
    const auto continuation = [&](std::size_t k) { return k < left && (p[k] & 0xC0) == 0x80; };
    if (p[0] < 0x80) {
        return 1;
    }
    if (p[0] >= 0xC2 && p[0] <= 0xDF) {
        return continuation(1) ? 2 : 0;
    }
    if (p[0] >= 0xE0 && p[0] <= 0xEF) {
        if (!continuation(1) || !continuation(2) || (p[0] == 0xE0 && p[1] < 0xA0) ||
            (p[0] == 0xED && p[1] >= 0xA0)) {
            return 0;
        }
        return 3;
    }
    if (p[0] >= 0xF0 && p[0] <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3) ||
            (p[0] == 0xF0 && p[1] < 0x90) || (p[0] == 0xF4 && p[1] >= 0x90)) {
            return 0;
        }
        return 4;
    }
    return 0;
}

}  // namespace

QString DecodeFileName(std::string_view bytes) {
    QString name;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t valid = 0;  // start of the valid run not yet appended
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8Length(p + i, bytes.size() - i);
        if (length > 0) {
            i += length;
            continue;
        }
        name += QString::fromUtf8(bytes.data() + valid, static_cast<qsizetype>(i - valid));
        name += QChar(static_cast<char16_t>(kEscapeBase + p[i]));
        valid = ++i;
    }
    return name +
           QString::fromUtf8(bytes.data() + valid, static_cast<qsizetype>(bytes.size() - valid));
}

bool IsLoneSurrogate(const QString& text, qsizetype i) {
    const QChar c = text[i];
    if (c.isHighSurrogate()) {
        return i + 1 >= text.size() || !text[i + 1].isLowSurrogate();
    }
    return c.isLowSurrogate() && (i == 0 || !text[i - 1].isHighSurrogate());
}

std::string EncodeFileName(const QString& name) {
    std::string bytes;
    qsizetype valid = 0;  // start of the run not yet encoded
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF && IsLoneSurrogate(name, i)) {
            bytes += name.mid(valid, i - valid).toStdString();
            bytes += static_cast<char>(unit - kEscapeBase);
            valid = i + 1;
        }
    }
    return bytes + name.mid(valid).toStdString();
}

}  // namespace marrowick
