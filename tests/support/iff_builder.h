// Writes object files for tests, benchmarks, fuzz seeds and the bundled sample.
//
// Calls read like the format: a file is a header, chunks, and a resource map
// that lists the chunks type by type. The map is generated from the chunks
// unless a test supplies its own (possibly malformed) type lists.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace marrowick::test {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const std::string& text);

// The fields of an object definition (OBJD) that the reader decodes. Offsets in
// comments are from the start of the chunk data (the chunk offset less 76).
struct ObjectDefinition {
    std::uint32_t guid = 0;                 // 28..31
    std::int16_t price = 0;                 // 36
    std::int16_t sale_price = 0;            // 68
    std::int16_t initial_depreciation = 0;  // 70
    std::int16_t daily_depreciation = 0;    // 72
    std::int16_t self_depreciating = 0;     // 74
    std::int16_t depreciation_limit = 0;    // 76
    std::uint16_t room_flags = 0;           // 78 (the game reads the low byte)
    std::uint16_t type_flags = 0;           // 80
    std::int16_t catalog_id = 0;            // 82
    std::uint32_t original_guid = 0;        // 140..143
    std::int16_t scores[7] = {};   // 164..176: hunger, comfort, hygiene, bladder, energy, fun, room
    std::int16_t skill_flag = 0;   // 178
    std::uint32_t clone_guid = 0;  // 184..187 (type-attribute GUID)

    Bytes Encode() const;  // 216 bytes, as in the game's files
};

// A catalog text chunk (CTSS) in the game's string layout: format code FD FF, a
// string count, then per string a language byte, the text and a comment.
struct CatalogString {
    std::uint8_t language = 1;
    std::string text;
    std::string comment;
};
Bytes CatalogTexts(const std::vector<CatalogString>& strings);
// The usual pair: name and description in language 1.
Bytes CatalogTexts(const std::string& name, const std::string& description);
// The packed layout, format code FC FF: a count of language sets, then the first
// set (`strings`, each text and comment stored as a length in 7-bit groups and
// its bytes), then `languageSets` - 1 empty sets, as the game's own files have.
Bytes PackedCatalogTexts(const std::vector<CatalogString>& strings, int languageSets = 20);

// A complete Windows bitmap file (8 or 24 bits per pixel) whose size field is 0,
// as in most real files. `pixel(x, y)` gives 0xRRGGBB with y = 0 the top row;
// 8-bit files get a palette of the distinct colours.
Bytes BitmapFile(int width, int height, int bitsPerPixel,
                 const std::function<std::uint32_t(int x, int y)>& pixel);
// A 74 x 37 catalog thumbnail: left half `normal`, right half `highlighted`.
Bytes CatalogThumbnail(std::uint32_t normal, std::uint32_t highlighted, int bitsPerPixel = 24);

struct MapEntry {
    std::uint32_t offset = 0;
    std::int16_t id = 0;
    std::uint16_t flags = 0;
    Bytes label;  // without its terminator
    std::uint8_t terminator = 0;
    bool pad = true;  // 0xA3 after the terminator when label+terminator is odd
};

struct TypeList {
    std::string type;  // in reading order, e.g. "OBJD"; stored reversed in the map
    std::uint32_t count = 0;
    std::vector<MapEntry> entries;
};

class IffBuilder {
  public:
    // Adds a chunk and returns its offset in the file.
    std::uint32_t Chunk(const std::string& type, std::int16_t id, const std::string& label,
                        const Bytes& data);
    std::uint32_t Object(std::int16_t id, const std::string& label, const ObjectDefinition& def) {
        return Chunk("OBJD", id, label, def.Encode());
    }

    // Replaces the generated type lists (one per chunk type, in order of first
    // appearance, each entry labelled as its chunk) with these.
    void SetTypeLists(std::vector<TypeList> lists) { custom_lists_ = std::move(lists); }
    // Overrides the scan-length field of the map (its size, low 16 bits used).
    void SetMapSize(std::uint32_t size) { map_size_ = size; }
    // Bytes appended after the resource map.
    void SetTrailer(Bytes trailer) { trailer_ = std::move(trailer); }
    // Leaves the resource map out, as many community files do: the map offset
    // at byte 60 is 0 and the chunks run to the end of the file.
    void OmitMap() { omit_map_ = true; }
    // Writes the resource map first, at byte 64, before the chunks: they then lie
    // further on than Chunk said, by the map's size.
    void MapFirst() { map_first_ = true; }

    Bytes Build() const;

  private:
    Bytes body_ = Bytes(64, 0);
    std::vector<TypeList> lists_;
    std::optional<std::vector<TypeList>> custom_lists_;
    std::optional<std::uint32_t> map_size_;
    bool omit_map_ = false;
    bool map_first_ = false;
    Bytes trailer_;
};

// An archive of object files as the game stores them: a 16-byte header, the
// members' bytes one after another, then the manifest.
class ArchiveBuilder {
  public:
    // Stores `bytes` after the members so far and lists them under `name`.
    void Member(const std::string& name, const Bytes& bytes);
    // Lists an entry for bytes already stored, or anywhere else: members may
    // overlap, repeat, or lie past the end.
    void Entry(const std::string& name, std::uint32_t offset, std::uint32_t size) {
        entries_.push_back({name, offset, size});
    }
    void SetVersion(std::uint32_t version) { version_ = version; }
    // The member count the manifest gives, instead of the entries' number.
    void SetCount(std::uint32_t count) { count_ = count; }
    // Bytes appended after the manifest.
    void SetTrailer(Bytes trailer) { trailer_ = std::move(trailer); }

    Bytes Build() const;

  private:
    struct Listed {
        std::string name;
        std::uint32_t offset, size;
    };
    Bytes bodies_ = Bytes(16, 0);
    std::vector<Listed> entries_;
    std::uint32_t version_ = 1;
    std::optional<std::uint32_t> count_;
    Bytes trailer_;
};

// A typical object file: a master object with catalog texts and a thumbnail,
// followed by `subTiles` sub-tile objects whose catalog id is 0.
Bytes TypicalObjectFile(const std::string& label, std::int16_t firstId, std::int16_t catalogId,
                        std::uint32_t guid, int subTiles);

void WriteFile(const std::string& path, const Bytes& bytes);
Bytes ReadFile(const std::string& path);

}  // namespace marrowick::test
