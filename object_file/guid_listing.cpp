#include "guid_listing.h"

#include "file_bytes.h"
#include "object_list.h"

namespace marrowick {
namespace {

constexpr std::uint64_t kGuidOffset = 104;

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
        // Through the block cache: the scan has just read this chunk's header,
        // so the GUID costs no further read. Bytes past the end count as zero.
        const auto chunk = static_cast<std::uint64_t>(parse.ObjdChunkPos[i]);
        for (std::size_t b = 0; b < object.guid.size(); ++b) {
            const int byte = file.At(chunk + kGuidOffset + b);
            object.guid[b] = static_cast<std::uint8_t>(byte < 0 ? 0 : byte);
        }
        parse.ReadCatalogText(entries[i].ItemData);
        object.catalogName = parse.CatalogName;
        listing.objects.push_back(std::move(object));
    }
    return listing;
}

}  // namespace marrowick
