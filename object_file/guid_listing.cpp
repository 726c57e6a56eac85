#include "guid_listing.h"

#include "file_bytes.h"
#include "object_list.h"

namespace marrowick {
namespace {

constexpr std::uint64_t kGuidOffset = 104;
constexpr std::uint64_t kOriginalGuidOffset = 216;

// Four bytes at `at`, through the block cache: the scan has
// just read this chunk's header, so they cost no further read. Bytes past the
// end count as zero.
void ReadGuid(FileBytes& file, std::uint64_t at, std::array<std::uint8_t, 4>& guid) {
    for (std::size_t b = 0; b < guid.size(); ++b) {
        const int byte = file.At(at + b);
        guid[b] = static_cast<std::uint8_t>(byte < 0 ? 0 : byte);
    }
}

}  // namespace

GuidListing ListObjectGuids(ParseIFF& parse, FileBytes& file, const std::string& path,
                            bool readChunks) {
    GuidListing listing;
    FirstMessage messages(readChunks);
    parse.SetMessageSink(&messages);
    parse.CurrentFile = path;
    parse.CurrentRange = file.range();
    parse.ScanObjectFile(file, path);
    parse.SetMessageSink(nullptr);
    listing.error = std::move(messages.first);
    listing.size = file.size();
    listing.readBy = parse.ReadBy;
    listing.warnings = parse.ScanWarnings;
    if (!listing.error.empty()) {
        return listing;
    }
    std::vector<ObjectListEntry> entries = FillObjectList(parse);
    listing.objects.reserve(entries.size());
    ParseIFF::FileScope open(parse, file);  // the catalog texts through the same descriptor
    for (std::size_t i = 0; i < entries.size(); ++i) {
        ObjectGuid object;
        object.index = static_cast<int>(i);
        object.listText = std::move(entries[i].Text);
        object.chunkId = parse.ObjdChunkId[i];
        const auto chunk = static_cast<std::uint64_t>(parse.ObjdChunkPos[i]);
        ReadGuid(file, chunk + kGuidOffset, object.guid);
        ReadGuid(file, chunk + kOriginalGuidOffset, object.originalGuid);
        parse.ReadCatalogText(entries[i].ItemData);
        object.catalogName = parse.CatalogName;
        listing.objects.push_back(std::move(object));
    }
    return listing;
}

}  // namespace marrowick
