// The fuzz entries: each scans an input both ways a user can answer "No Resource
// Map!", reads each index as the program does, and aborts when a result breaks a
// rule; the archive entry does so for every member it lists, read in place.
// Built with MARROWICK_FUZZ_ENTRY naming an entry, this is that libFuzzer target;
// else it replays inputs: marrowick_fuzz_replay ENTRY FILE_OR_FOLDER...
#include <sys/mman.h>
#include <unistd.h>

#include <QImage>
#include <QString>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <span>
#include <sstream>

#include "archive.h"
#include "cp1252.h"
#include "guid_listing.h"
#include "object_list.h"
#include "thumbnail.h"

namespace marrowick {
namespace {

using Bytes = std::span<const std::uint8_t>;
// What an entry does with each index a scan fills, given the file's bytes.
using Work = std::function<void(ParseIFF&, FirstMessage&, Bytes)>;

void Require(bool holds, const char* rule) {
    if (!holds) {
        std::fprintf(stderr, "broken rule: %s\n", rule);
        std::abort();
    }
}

// Four bytes as a number: big-endian in chunk headers, little-endian in the map.
std::uint64_t Int32(const std::uint8_t* p, bool bigEndian = true) {
    const auto at = [&](int k) { return std::uint64_t{p[bigEndian ? k : 3 - k]}; };
    return at(0) << 24 | at(1) << 16 | at(2) << 8 | at(3);
}

// An index as the bytes in memory give it (list positions, OBJD, CTSS and BMP_
// rows as place and id, warnings): stale bytes in the reader's buffers show.
struct Index {
    std::array<std::int64_t, kChunkTypeCount> lists{};
    std::vector<std::pair<std::int64_t, std::int32_t>> rows[3];
    std::size_t warnings = 0;
    bool operator==(const Index&) const = default;
};

// A walk from byte 64, each chunk's size landing on the next, to the end of the
// file exactly; at most 255 rows of a type.
Index Walk(Bytes bytes) {
    Index index;
    std::uint64_t at = 64;
    while (at < bytes.size()) {
        const std::uint64_t left = bytes.size() - at, size = left < 76 ? 0 : Int32(&bytes[at + 4]);
        if (size < 76 || size > left) {
            break;
        }
        const int id = bytes[at + 8] << 8 | bytes[at + 9];  // OBJD ids unsigned, others signed
        for (std::size_t k = 0; k < 3; ++k) {
            if (std::memcmp(&bytes[at], &"OBJDCTSSBMP_"[4 * k], 4) == 0) {
                index.rows[k].emplace_back(at, k == 0 ? id : std::int16_t(id));
            }
        }
        at += size;
    }
    index.warnings = at == bytes.size() ? 0 : 1;
    for (auto& rows : index.rows) {
        index.warnings += rows.size() > 255 ? 1u : 0u;
        rows.resize(std::min<std::size_t>(rows.size(), 255));
    }
    return index;
}

// Each type list follows the last place of its code in the L+1 windows from map
// offset + 96 (L: the map size's low 16 bits). The OBJD, CTSS and BMP_ lists (types
// 0, 3, 10) have as many entries as the count's low byte says and the file holds:
// offset, id, flags, a label to its zero byte (or 16 for BMP_) and an optional
// 0xA3 pad. One warning says when the file is cut short.
Index ReadMap(Bytes bytes, std::uint64_t map) {
    Index index;
    const std::uint64_t size = bytes.size();
    const std::uint64_t last = map + 96 + (std::uint64_t{bytes[map + 6]} << 8 | bytes[map + 7]);
    for (std::uint64_t at = map + 96; at <= last && at + 4 <= size; ++at) {
        for (std::size_t type = 0; type < index.lists.size(); ++type) {
            if (std::memcmp(&bytes[at], kMapTypeCodes[type], 4) == 0) {
                index.lists[type] = static_cast<std::int64_t>(at + 4);
            }
        }
    }
    for (std::size_t k = 0; k < 3; ++k) {
        auto at = static_cast<std::uint64_t>(index.lists[std::array{0u, 3u, 10u}[k]]);
        const int count = at > 0 && at < size ? bytes[at] : 0;
        for (at += 4; std::ssize(index.rows[k]) < count && at + 8 <= size;) {
            const int id = bytes[at + 4] | bytes[at + 5] << 8;
            index.rows[k].emplace_back(Int32(&bytes[at], false), k == 0 ? id : std::int16_t(id));
            for (at += 8; at < size && bytes[at] != 0 && !(k == 2 && bytes[at] == 16);) {
                ++at;
            }
            at += at < size ? 1u : 0u;
            at += at < size && bytes[at] == 0xA3 ? 1u : 0u;
        }
    }
    // Cut short: the map, or a listed chunk, runs past the end by its declared size.
    bool cut = map + Int32(&bytes[map + 4]) > size;
    for (const auto& rows : index.rows) {
        for (const auto& [place, id] : rows) {
            const auto at = static_cast<std::uint64_t>(place);
            cut = cut || at + 8 > size || at + Int32(&bytes[at + 4]) > size;
        }
    }
    index.warnings = cut ? 1 : 0;
    return index;
}

// Checks a scan against the index the bytes give; a walk of a file cut short
// before its map could be read starts with a warning saying so.
void CheckScan(const ParseIFF& p, Bytes bytes, std::uint64_t map, const std::string& cut) {
    Index found{p.TypeListPos, {}, p.ScanWarnings.size()};
    const int counts[] = {p.ObjdCount, p.CtssCount, p.BmpCount};
    const std::int64_t* places[] = {p.ObjdChunkPos.data(), p.CtssChunkPos.data(),
                                    p.BmpChunkPos.data()};
    const std::int32_t* ids[] = {p.ObjdChunkId.data(), p.CtssChunkId.data(), p.BmpChunkId.data()};
    for (std::size_t k = 0; k < 3; ++k) {
        for (std::size_t row = 0; std::ssize(found.rows[k]) < std::min(counts[k], kRows); ++row) {
            found.rows[k].emplace_back(places[k][row], ids[k][row]);
        }
    }
    Index walked = Walk(bytes);
    walked.warnings += cut.empty() ? 0u : 1u;
    Require(p.FileNum == -1 &&
                found == (p.ReadBy == IndexSource::ResourceMap ? ReadMap(bytes, map)
                          : p.ReadBy == IndexSource::Chunks    ? walked
                                                               : Index{}) &&
                (p.ReadBy != IndexSource::Chunks || cut.empty() || p.ScanWarnings[0] == cut),
            "a scan finds the lists, rows and warnings the bytes give, leaving no file open");
}

// Room and type bytes are bit flags: 0 and each single bit name their row at its
// position; any other byte names each of its bits, at position -1.
void CheckCategory(const std::array<Category, 9>& table, int flags, const std::string& name,
                   int index) {
    const auto row = std::ranges::find(table, flags, &Category::flags);
    const bool single = flags == 0 || std::has_single_bit(static_cast<unsigned>(flags));
    Require(flags >= 0 && flags <= 255 && (row != table.end()) == single &&
                (single ? index == row - table.begin() && name == row->name
                        : index == -1 && std::ranges::count(name, ',') + 1 ==
                                             std::popcount(static_cast<unsigned>(flags))),
            "a category byte names its row, or else each of its bits");
}

// The object list, each object read as the detail view reads it (one FileScope)
// and as the editor does (each group reopening the file), then the GUID listing,
// which reads the file again its own way.
void Decode(ParseIFF& p, FirstMessage& sink, Bytes) {
    const std::string message = sink.first;
    const std::vector<ObjectListEntry> entries = FillObjectList(p);
    std::vector<std::string> catalogNames;  // as the detail view shows them
    for (std::size_t row = 0; row < entries.size(); ++row) {
        const int i = static_cast<int>(row), catalog = entries[row].ItemData;
        const std::string& label = p.ObjdLabel[row];
        Require(entries[row].Text == label + "  " + std::to_string(p.ObjdChunkId[row]) &&
                    ObjectLabelFromEntry(entries[row].Text) == label && catalog >= -1 &&
                    catalog < p.CtssCount && p.ThumbIndex[row] >= -1 &&
                    p.ThumbIndex[row] < p.BmpCount,
                "an entry is the label, two blanks and the chunk id, linking real rows or none");
        {
            ParseIFF::FileScope open(p);
            p.ReadCatalogText(i < p.CtssCount ? i : -1);  // rows no object links to as well
            p.ReadObjectAttributes(i, ValueGroup);
            p.ReadObjectAttributes(i, BuyModeGroup);
            p.ReadCatalogText(catalog);
            catalogNames.push_back(p.CatalogName);
        }
        for (const std::string* text : {&p.ObjdLabel[row], &p.CatalogName, &p.CatalogDescription}) {
            const std::string utf8 = Cp1252ToUtf8(*text);
            Require(p.FileNum == -1 && text->size() <= ParseIFF::kMaxTextBytes &&
                        text->find('\0') == text->npos &&
                        QString::fromStdString(utf8).toStdString() == utf8,
                    "texts are bounded, end at their zero byte and convert to UTF-8");
        }
        for (AttributeGroup group : {ScoreGroup, ValueGroup, SkillGroup, BuyModeGroup, GuidGroup}) {
            p.ReadObjectAttributes(i, group);
        }
        const ObjectAttributeRow& a = p.ObjectAttributes[row];
        CheckCategory(kRoomCategories, a.RoomFlags, p.RoomName, p.RoomIndex);
        CheckCategory(kTypeCategories, a.TypeFlags, p.TypeName, p.TypeIndex);
    }
    const auto scratch = std::make_unique<ParseIFF>();
    FileBytes file(p.CurrentFile, p.CurrentRange);
    const GuidListing listing =
        ListObjectGuids(*scratch, file, p.CurrentFile, p.ReadBy == IndexSource::Chunks);
    Require(p.FileNum == -1 && sink.first == message && listing.readBy == p.ReadBy &&
                listing.warnings == p.ScanWarnings && listing.error == message &&
                listing.objects.size() == entries.size() && std::ssize(entries) == p.ObjdCount,
            "decoding reports nothing; the listing reads the file as the scan does");
    for (std::size_t row = 0; row < entries.size(); ++row) {
        const ObjectGuid& object = listing.objects[row];
        const ObjectAttributeRow& a = p.ObjectAttributes[row];
        Require(object.index == static_cast<int>(row) && object.listText == entries[row].Text &&
                    object.chunkId == p.ObjdChunkId[row] &&
                    object.catalogName == catalogNames[row] &&
                    std::stoul(a.GuidHex1 + a.GuidHex2, nullptr, 16) == Int32(object.guid.data()),
                "the listing agrees with the decoder object by object");
    }
}

// Every BMP_ row's bytes, then through the thumbnail decoder, whose Qt BMP reader
// warns on stderr about every bad offset: noise at fuzzing speed.
void Thumbnails(ParseIFF& p, FirstMessage&, Bytes bytes) {
    [[maybe_unused]] static const auto previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    FillObjectList(p);
    Require(p.ReadThumbnailBytes(-1).empty() && p.ReadThumbnailBytes(p.BmpCount).empty(),
            "rows outside the BMP_ list have no bytes");
    for (int row = 0; row < p.BmpCount; ++row) {
        const auto at = static_cast<std::uint64_t>(p.BmpChunkPos[static_cast<std::size_t>(row)]);
        const std::uint64_t size = at + 8 <= bytes.size() ? Int32(&bytes[at + 4]) : 0;
        const std::uint64_t from = std::min<std::uint64_t>(at + 76, bytes.size());
        const std::uint64_t to = std::min({at + std::max<std::uint64_t>(size, 76), bytes.size(),
                                           from + ParseIFF::kMaxThumbnailBytes});
        const std::vector<std::uint8_t> bitmap = p.ReadThumbnailBytes(row);
        const QImage image = DecodeThumbnail(bitmap);
        Require(std::ranges::equal(bitmap, bytes.subspan(from, to - from)),
                "a BMP_ row's bytes are its chunk's data, cut at the file's end or at 4 MiB");
        Require(image.isNull() || (image.width() >= 1 && image.width() <= kMaxThumbnailSide &&
                                   image.height() >= 1 && image.height() <= kMaxThumbnailSide &&
                                   image.width() != 2 * image.height()),
                "a thumbnail is at most 1024 x 1024, the left half of one twice as wide as high");
    }
}

// What a reader makes of a file beyond the index the scan rules pin down: the
// scan's messages, each object's list entry and categories (its attributes go
// to `rows`), every catalog text row and every thumbnail's bytes.
std::string Describe(ParseIFF& p, const FirstMessage& sink, std::vector<ObjectAttributeRow>& rows) {
    std::ostringstream out;
    out << sink.first;
    for (const std::string& warning : p.ScanWarnings) {
        out << '|' << warning;
    }
    const std::vector<ObjectListEntry> entries = FillObjectList(p);
    ParseIFF::FileScope open(p);
    for (std::size_t row = 0; row < entries.size(); ++row) {
        for (AttributeGroup group : {ScoreGroup, ValueGroup, SkillGroup, BuyModeGroup, GuidGroup}) {
            p.ReadObjectAttributes(static_cast<int>(row), group);
        }
        out << '\n'
            << entries[row].Text << '|' << entries[row].ItemData << ' ' << p.ThumbIndex[row] << ' '
            << p.RoomName << '|' << p.TypeName;
        rows.push_back(p.ObjectAttributes[row]);
    }
    for (int row = 0; row < p.CtssCount; ++row) {
        p.ReadCatalogText(row);
        out << '\n' << p.CatalogName << '|' << p.CatalogDescription;
    }
    for (int row = 0; row < p.BmpCount; ++row) {
        const std::vector<std::uint8_t> bitmap = p.ReadThumbnailBytes(row);
        out << '\n' << std::string(bitmap.begin(), bitmap.end());
    }
    return out.str();
}

// The path of a file in memory now holding `bytes` (the reader takes paths):
// slot 0 holds the input, slot 1 an archive member's bytes.
std::string MemoryFile(int slot, Bytes bytes) {
    static const int fds[] = {::memfd_create("marrowick-fuzz-input", 0),
                              ::memfd_create("marrowick-fuzz-member", 0)};
    const int fd = fds[slot];
    Require(
        ::ftruncate(fd, 0) == 0 && ::pwrite(fd, bytes.data(), bytes.size(), 0) == std::ssize(bytes),
        "the input reaches its file");
    return "/proc/self/fd/" + std::to_string(fd);
}

// Scans `bytes`, found at `range` of the file at `path`, both ways and checks
// each scan, then does `work` on the designed index, and on the walked one when
// there is one.
void Check(Bytes bytes, const std::string& path, ByteRange range, const Work& work) {
    const std::uint64_t size = bytes.size();
    const bool signature = size >= 8 && std::memcmp(bytes.data(), "IFF FILE", 8) == 0;
    const std::uint64_t map = size >= 64 ? Int32(&bytes[60]) : 0;
    const bool rsmp = size >= 64 && map + 4 <= size && std::memcmp(&bytes[map], "rsmp", 4) == 0;
    const bool hasMap = signature && rsmp && map + 8 <= size;
    // A download cut short in the header, before the map or in the map's header.
    const std::string cut = !signature        ? ""
                            : size < 64       ? CutInHeaderMessage(size)
                            : map + 4 > size  ? CutBeforeMapMessage(map, size)
                            : rsmp && !hasMap ? CutInMapHeaderMessage(map, size)
                                              : "";
    for (bool walk : {false, true}) {
        FirstMessage sink(walk);  // with `walk`, the no-map message gets Read Chunks
        const auto parse = std::make_unique<ParseIFF>();
        parse->SetMessageSink(&sink);
        parse->CurrentFile = path;
        parse->CurrentRange = range;
        {
            FileBytes file(path, range);
            parse->ScanObjectFile(file, path);
        }
        const IndexSource way = hasMap              ? IndexSource::ResourceMap
                                : signature && walk ? IndexSource::Chunks
                                                    : IndexSource::None;
        const std::string refused = cut.empty() ? kNoResourceMap : cut;
        Require(parse->ReadBy == way && sink.first == (!signature                 ? kNotValidIff
                                                       : way == IndexSource::None ? refused
                                                                                  : ""),
                "a file is not a valid IFF without the signature, read by its map when it has "
                "one, else refused or walked as the no-map or cut-short message is answered");
        CheckScan(*parse, bytes, map, cut);
        if (!walk || way == IndexSource::Chunks) {
            work(*parse, sink, bytes);
        }
    }
}

// The entries, each given one input.
[[maybe_unused]] void ScanEntry(Bytes bytes) {
    Check(bytes, MemoryFile(0, bytes), {}, [](ParseIFF&, FirstMessage&, Bytes) {});
}
[[maybe_unused]] void DecodeEntry(Bytes bytes) {
    Check(bytes, MemoryFile(0, bytes), {}, Decode);
}
[[maybe_unused]] void ThumbnailEntry(Bytes bytes) {
    Check(bytes, MemoryFile(0, bytes), {}, Thumbnails);
}

// The input as an archive: its manifest as listed, then each of its first few
// distinct members read in place, checked as a file is and against a file of
// its own holding the same bytes, so that nothing past the member's end shows.
[[maybe_unused]] void ArchiveEntry(Bytes bytes) {
    const std::string path = MemoryFile(0, bytes);
    FileBytes file(path);
    const ArchiveContents contents = ReadArchive(file);
    const std::uint64_t size = bytes.size();
    Require(IsArchive(file) == (size >= 8 && std::memcmp(bytes.data(), "FAR!byAZ", 8) == 0),
            "an archive is told by its signature");
    const std::uint64_t manifest = size >= 16 ? Int32(&bytes[12], false) : size;
    const std::uint64_t count = manifest + 4 <= size ? Int32(&bytes[manifest], false) : 0;
    Require(contents.error.empty() ? std::ssize(contents.objectFiles) + contents.skipped ==
                                         static_cast<std::int64_t>(count)
                                   : contents.objectFiles.empty() && contents.skipped == 0,
            "a refused archive lists nothing; else each member is listed or skipped");
    std::set<std::pair<std::uint64_t, std::uint64_t>> read;
    for (const ArchiveMember& member : contents.objectFiles) {
        const auto [offset, length] = member.range;
        const bool inside = offset <= size && length <= size - offset;
        Require(HasIffExtension(member.name) && member.name.size() <= kLongestMemberName &&
                    member.error.empty() == inside,
                "a listed member is named as an object file, in at most 1,024 bytes, and refused "
                "when it runs past the archive's end");
        // Reading a member is the costly part: a few distinct ones are enough.
        if (!inside || read.size() == 8 || !read.emplace(offset, length).second) {
            continue;
        }
        const Bytes own = bytes.subspan(offset, length);
        std::string inPlace, loose;
        std::vector<ObjectAttributeRow> inPlaceRows, looseRows;
        Check(own, path, member.range, [&](ParseIFF& p, FirstMessage& sink, Bytes b) {
            Decode(p, sink, b);
            inPlace += Describe(p, sink, inPlaceRows);
        });
        Check(own, MemoryFile(1, own), {}, [&](ParseIFF& p, FirstMessage& sink, Bytes) {
            loose += Describe(p, sink, looseRows);
        });
        Require(inPlace == loose && inPlaceRows == looseRows,
                "a member read in place reads as its bytes in a file of their own");
    }
}

}  // namespace
}  // namespace marrowick

#ifdef MARROWICK_FUZZ_ENTRY
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    marrowick::MARROWICK_FUZZ_ENTRY({data, size});
    return 0;
}
#else
int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    using namespace marrowick;
    const std::string_view name = argc >= 3 ? argv[1] : "";
    const auto entry = name == "scan"        ? ScanEntry
                       : name == "decode"    ? DecodeEntry
                       : name == "thumbnail" ? ThumbnailEntry
                       : name == "archive"   ? ArchiveEntry
                                             : nullptr;
    std::vector<fs::path> files;
    for (int i = 2; i < argc && entry != nullptr; ++i) {
        if (fs::is_directory(argv[i])) {
            files.insert(files.end(), fs::directory_iterator(argv[i]), fs::directory_iterator());
        } else {
            files.emplace_back(argv[i]);
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::fprintf(stderr, "%s\n", file.c_str());  // first, so that a crash names its input
        std::ifstream in(file, std::ios::binary);
        entry(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    }
    std::printf("replayed %zu inputs through %s\n", files.size(), name.data());
    return files.empty() ? 1 : 0;  // a run of nothing, or a wrong entry, checks nothing
}
#endif
