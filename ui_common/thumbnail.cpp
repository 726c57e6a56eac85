#include "thumbnail.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace marrowick {

QImage DecodeThumbnail(const std::vector<std::uint8_t>& bitmapFile) {
    if (bitmapFile.size() < 2 || bitmapFile[0] != 'B' || bitmapFile[1] != 'M') {
        return {};
    }
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(bitmapFile.data()),
                                               static_cast<qsizetype>(bitmapFile.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    // The header's dimensions come from the file: refuse absurd ones up front.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxThumbnailSide || size.height() > kMaxThumbnailSide) {
        return {};
    }
    QImage image = reader.read();
    if (image.isNull()) {
        return {};
    }
    if (image.width() == 2 * image.height()) {
        return image.copy(0, 0, image.height(), image.height());
    }
    return image;
}

}  // namespace marrowick
