#include "iff_builder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

#include "test_system.h"

namespace marrowick::test {
namespace {

constexpr std::size_t kChunkHeader = 76;
constexpr std::size_t kLabelField = 64;

// Writes `value` at `at` in `bytes` bytes, little-endian, or big-endian when `big`.
void Put(Bytes& out, std::size_t at, std::uint32_t value, int bytes, bool big = false) {
    for (int i = 0; i < bytes; ++i) {
        out.at(at + static_cast<std::size_t>(i)) =
            static_cast<std::uint8_t>(value >> (8 * (big ? bytes - 1 - i : i)));
    }
}

void Append(Bytes& out, std::uint32_t value, int bytes, bool big = false) {
    out.resize(out.size() + static_cast<std::size_t>(bytes));
    Put(out, out.size() - static_cast<std::size_t>(bytes), value, bytes, big);
}

Bytes ChunkHeader(const std::string& type, std::uint32_t size, std::int16_t id,
                  const std::string& label) {
    Bytes out = ToBytes(type.substr(0, 4));
    Append(out, size, 4, true);
    Append(out, static_cast<std::uint16_t>(id), 2, true);
    Append(out, 0x10, 2, true);  // flags, not read
    Bytes field(kLabelField, 0);
    std::copy_n(label.begin(), std::min(label.size(), kLabelField), field.begin());
    out.insert(out.end(), field.begin(), field.end());
    return out;
}

// A length in 7-bit groups, low group first, the high bit set on all but the last.
void AppendCounted(Bytes& out, const std::string& text) {
    for (std::size_t length = text.size();; length >>= 7) {
        out.push_back(static_cast<std::uint8_t>((length & 0x7F) | (length > 0x7F ? 0x80 : 0)));
        if (length <= 0x7F) {
            break;
        }
    }
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

Bytes ToBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes ObjectDefinition::Encode() const {
    Bytes data(216, 0);
    const auto put16 = [&data](std::size_t at, std::int32_t value) {
        Put(data, at, static_cast<std::uint16_t>(value), 2);
    };
    put16(0, 138);  // version
    Put(data, 28, guid, 4);
    put16(36, price);
    put16(68, sale_price);
    put16(70, initial_depreciation);
    put16(72, daily_depreciation);
    put16(74, self_depreciating);
    put16(76, depreciation_limit);
    put16(78, room_flags);
    put16(80, type_flags);
    put16(82, catalog_id);
    Put(data, 140, original_guid, 4);
    for (std::size_t i = 0; i < 7; ++i) {
        put16(164 + 2 * i, scores[i]);
    }
    put16(178, skill_flag);
    Put(data, 184, clone_guid, 4);
    return data;
}

Bytes CatalogTexts(const std::vector<CatalogString>& strings) {
    Bytes out = {0xFD, 0xFF};
    Append(out, static_cast<std::uint32_t>(strings.size()), 2);
    for (const CatalogString& s : strings) {
        out.push_back(s.language);
        for (const std::string* text : {&s.text, &s.comment}) {
            out.insert(out.end(), text->begin(), text->end());
            out.push_back(0);
        }
    }
    return out;
}

Bytes CatalogTexts(const std::string& name, const std::string& description) {
    return CatalogTexts({{1, name, ""}, {1, description, ""}});
}

Bytes PackedCatalogTexts(const std::vector<CatalogString>& strings, int languageSets) {
    Bytes out = {0xFC, 0xFF, static_cast<std::uint8_t>(languageSets)};
    Append(out, static_cast<std::uint32_t>(strings.size()), 2);
    for (const CatalogString& s : strings) {
        out.push_back(s.language);
        AppendCounted(out, s.text);
        AppendCounted(out, s.comment);
    }
    for (int set = 1; set < languageSets; ++set) {
        Append(out, 0, 2);
    }
    return out;
}

Bytes BitmapFile(int width, int height, int bitsPerPixel,
                 const std::function<std::uint32_t(int x, int y)>& pixel) {
    if (bitsPerPixel != 8 && bitsPerPixel != 24) {
        throw std::invalid_argument("BitmapFile: 8 or 24 bits per pixel");
    }
    std::vector<std::uint32_t> palette;
    std::map<std::uint32_t, std::uint8_t> paletteIndex;
    for (int y = 0; bitsPerPixel == 8 && y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (paletteIndex.emplace(pixel(x, y), static_cast<std::uint8_t>(palette.size()))
                    .second) {
                palette.push_back(pixel(x, y));
            }
        }
    }
    if (palette.size() > 256) {
        throw std::invalid_argument("BitmapFile: more than 256 colours for 8 bits");
    }
    const std::size_t rowBytes =
        (static_cast<std::size_t>(width * bitsPerPixel / 8) + 3) & ~std::size_t{3};
    Bytes out = {'B', 'M'};
    // File size 0, as most of the game's files have it; then the pixels' offset.
    for (std::uint32_t field : {0u, 0u, static_cast<std::uint32_t>(54 + 4 * palette.size()), 40u,
                                static_cast<std::uint32_t>(width),
                                static_cast<std::uint32_t>(height)}) {  // height > 0: bottom-up
        Append(out, field, 4);
    }
    Append(out, 1, 2);
    Append(out, static_cast<std::uint32_t>(bitsPerPixel), 2);
    // BI_RGB, image size 0 (allowed for it), resolution, colours used and important.
    for (std::uint32_t field :
         {0u, 0u, 2835u, 2835u, static_cast<std::uint32_t>(palette.size()), 0u}) {
        Append(out, field, 4);
    }
    for (std::uint32_t colour : palette) {
        Append(out, colour & 0xFFFFFF, 4);
    }
    for (int y = height - 1; y >= 0; --y) {
        Bytes row;
        for (int x = 0; x < width; ++x) {
            if (bitsPerPixel == 8) {
                row.push_back(paletteIndex[pixel(x, y)]);
            } else {
                Append(row, pixel(x, y), 3);
            }
        }
        row.resize(rowBytes, 0);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

Bytes CatalogThumbnail(std::uint32_t normal, std::uint32_t highlighted, int bitsPerPixel) {
    return BitmapFile(74, 37, bitsPerPixel, [&](int x, int y) {
        const bool left = x < 37;
        // A light frame inside each half, like the catalog's buttons.
        const int hx = left ? x : x - 37;
        const bool frame = hx == 0 || hx == 36 || y == 0 || y == 36;
        return frame ? 0xE0E0E0u : (left ? normal : highlighted);
    });
}

std::uint32_t IffBuilder::Chunk(const std::string& type, std::int16_t id, const std::string& label,
                                const Bytes& data) {
    const auto offset = static_cast<std::uint32_t>(body_.size());
    Bytes header =
        ChunkHeader(type, static_cast<std::uint32_t>(kChunkHeader + data.size()), id, label);
    body_.insert(body_.end(), header.begin(), header.end());
    body_.insert(body_.end(), data.begin(), data.end());
    auto list = std::ranges::find(lists_, type, &TypeList::type);
    if (list == lists_.end()) {
        list = lists_.insert(list, {type, 0, {}});
    }
    list->entries.push_back({offset, id, 0, ToBytes(label)});
    list->count = static_cast<std::uint32_t>(list->entries.size());
    return offset;
}

Bytes IffBuilder::Build() const {
    Bytes out = body_;
    std::ranges::copy(std::string_view("IFF FILE 2.5:TYPE FOLLOWED BY SIZE"), out.begin());
    if (omit_map_) {
        out.insert(out.end(), trailer_.begin(), trailer_.end());
        return out;
    }
    // The map chunk, its generated entries moved `shift` bytes on. Its size does
    // not depend on the offsets it lists.
    const auto mapChunk = [this](std::uint32_t shift) {
        Bytes map;
        Append(map, 0, 4);  // reserved
        Append(map, 1, 4);  // version
        map.insert(map.end(), {'p', 'm', 's', 'r'});
        Append(map, 0, 4);  // size, patched below
        const std::vector<TypeList>& lists = custom_lists_ ? *custom_lists_ : lists_;
        Append(map, static_cast<std::uint32_t>(lists.size()), 4);
        for (const TypeList& list : lists) {
            map.insert(map.end(), list.type.rbegin(), list.type.rend());
            Append(map, list.count, 4);
            for (const MapEntry& entry : list.entries) {
                Append(map, entry.offset + (custom_lists_ ? 0 : shift), 4);
                Append(map, static_cast<std::uint16_t>(entry.id), 2);
                Append(map, entry.flags, 2);
                map.insert(map.end(), entry.label.begin(), entry.label.end());
                map.push_back(entry.terminator);
                if (entry.pad && entry.label.size() % 2 == 0) {
                    map.push_back(0xA3);
                }
            }
        }
        const auto mapSize = static_cast<std::uint32_t>(kChunkHeader + map.size());
        Put(map, 12, mapSize, 4);
        Bytes chunk = ChunkHeader("rsmp", map_size_.value_or(mapSize), 0, "");
        chunk.insert(chunk.end(), map.begin(), map.end());
        return chunk;
    };

    std::uint32_t mapOffset = 64;
    if (map_first_) {
        const Bytes map = mapChunk(static_cast<std::uint32_t>(mapChunk(0).size()));
        out.insert(out.begin() + mapOffset, map.begin(), map.end());
    } else {
        mapOffset = static_cast<std::uint32_t>(out.size());
        const Bytes map = mapChunk(0);
        out.insert(out.end(), map.begin(), map.end());
    }
    out.insert(out.end(), trailer_.begin(), trailer_.end());
    Put(out, 60, mapOffset, 4, true);
    return out;
}

void ArchiveBuilder::Member(const std::string& name, const Bytes& bytes) {
    Entry(name, static_cast<std::uint32_t>(bodies_.size()),
          static_cast<std::uint32_t>(bytes.size()));
    bodies_.insert(bodies_.end(), bytes.begin(), bytes.end());
}

Bytes ArchiveBuilder::Build() const {
    Bytes out = bodies_;
    std::ranges::copy(std::string_view("FAR!byAZ"), out.begin());
    Put(out, 8, version_, 4);
    Put(out, 12, static_cast<std::uint32_t>(out.size()), 4);
    Append(out, count_.value_or(static_cast<std::uint32_t>(entries_.size())), 4);
    for (const Listed& entry : entries_) {
        Append(out, entry.size, 4);
        Append(out, entry.size, 4);  // stored whole: the same size again
        Append(out, entry.offset, 4);
        Append(out, static_cast<std::uint32_t>(entry.name.size()), 4);
        out.insert(out.end(), entry.name.begin(), entry.name.end());
    }
    out.insert(out.end(), trailer_.begin(), trailer_.end());
    return out;
}

Bytes TypicalObjectFile(const std::string& label, std::int16_t firstId, std::int16_t catalogId,
                        std::uint32_t guid, int subTiles) {
    IffBuilder file;
    file.Object(firstId, label,
                {.guid = guid,
                 .price = 350,
                 .room_flags = 8,
                 .type_flags = 1,
                 .catalog_id = catalogId,
                 .original_guid = guid});
    for (int i = 1; i <= subTiles; ++i) {
        file.Object(static_cast<std::int16_t>(firstId + i), label + " - tile " + std::to_string(i),
                    {.guid = guid + static_cast<std::uint32_t>(i)});
    }
    file.Chunk("CTSS", catalogId, "", CatalogTexts(label, "A fine " + label + " for any home."));
    file.Chunk("BMP_", catalogId, "", CatalogThumbnail(0x3060C0, 0x60A0F0));
    return file.Build();
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string TempFolder::Write(const std::string& relative, const Bytes& bytes) const {
    std::filesystem::create_directories(FsPath(root + relative).parent_path());
    WriteFile(root + relative, bytes);
    return root + relative;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(FsPath(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace marrowick::test
