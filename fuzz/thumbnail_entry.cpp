#include <QtGlobal>

#include "checks.h"
#include "entries.h"
#include "object_list.h"
#include "thumbnail.h"

namespace marrowick::fuzz {

namespace {

// Qt's BMP reader warns on stderr about every bad offset; at fuzzing speed that
// is noise that slows the run, and the checks below say what matters.
void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

void ReadThumbnails(ParseIFF& parse) {
    FillObjectList(parse);
    Require(
        parse.ReadThumbnailBytes(-1).empty() && parse.ReadThumbnailBytes(parse.BmpCount).empty(),
        "rows outside the BMP_ list have no bytes");
    for (int row = 0; row < parse.BmpCount; ++row) {
        const std::vector<std::uint8_t> bitmap = parse.ReadThumbnailBytes(row);
        Require(bitmap.size() <= ParseIFF::kMaxThumbnailBytes, "thumbnail reads are bounded");
        const QImage image = DecodeThumbnail(bitmap);
        if (!image.isNull()) {
            Require(image.width() >= 1 && image.width() <= kMaxThumbnailSide &&
                        image.height() >= 1 && image.height() <= kMaxThumbnailSide,
                    "decoded thumbnails keep within the size limit");
        }
    }
    Require(parse.FileNum == -1, "no file stays open after a thumbnail read");
}

}  // namespace

void ThumbnailEntry(std::span<const std::uint8_t> bytes) {
    static const QtMessageHandler previous = qInstallMessageHandler(Quiet);
    static_cast<void>(previous);
    const std::unique_ptr<BothScans> scans = ScanBothWays(bytes);
    ReadThumbnails(scans->designed.parse);
    // Otherwise the walked index is the designed one.
    if (scans->walked.parse.ReadBy == IndexSource::Chunks) {
        ReadThumbnails(scans->walked.parse);
    }
}

}  // namespace marrowick::fuzz
