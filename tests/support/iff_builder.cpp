#include "iff_builder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

namespace marrowick::test {
namespace {

constexpr std::size_t kChunkHeader = 76;
constexpr std::size_t kLabelField = 64;

void AppendBe16(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

Bytes ChunkHeader(const std::string& type, std::uint32_t size, std::int16_t id,
                  const std::string& label) {
    Bytes out = ToBytes(type.substr(0, 4));
    AppendBe32(out, size);
    AppendBe16(out, static_cast<std::uint16_t>(id));
    AppendBe16(out, 0x10);  // flags, not read
    Bytes field(kLabelField, 0);
    std::copy_n(label.begin(), std::min(label.size(), kLabelField), field.begin());
    out.insert(out.end(), field.begin(), field.end());
    return out;
}

}  // namespace

Bytes ToBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

void PutLe16(Bytes& out, std::size_t at, std::uint16_t value) {
    out.at(at) = static_cast<std::uint8_t>(value);
    out.at(at + 1) = static_cast<std::uint8_t>(value >> 8);
}

void PutLe32(Bytes& out, std::size_t at, std::uint32_t value) {
    PutLe16(out, at, static_cast<std::uint16_t>(value));
    PutLe16(out, at + 2, static_cast<std::uint16_t>(value >> 16));
}

void AppendLe16(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendLe32(Bytes& out, std::uint32_t value) {
    AppendLe16(out, static_cast<std::uint16_t>(value));
    AppendLe16(out, static_cast<std::uint16_t>(value >> 16));
}

void AppendBe32(Bytes& out, std::uint32_t value) {
    AppendBe16(out, static_cast<std::uint16_t>(value >> 16));
    AppendBe16(out, static_cast<std::uint16_t>(value));
}

Bytes ObjectDefinition::Encode() const {
    Bytes data(216, 0);
    PutLe16(data, 0, 138);  // version
    PutLe32(data, 28, guid);
    PutLe16(data, 36, static_cast<std::uint16_t>(price));
    PutLe16(data, 68, static_cast<std::uint16_t>(sale_price));
    PutLe16(data, 70, static_cast<std::uint16_t>(initial_depreciation));
    PutLe16(data, 72, static_cast<std::uint16_t>(daily_depreciation));
    PutLe16(data, 74, static_cast<std::uint16_t>(self_depreciating));
    PutLe16(data, 76, static_cast<std::uint16_t>(depreciation_limit));
    PutLe16(data, 78, room_flags);
    PutLe16(data, 80, type_flags);
    PutLe16(data, 82, static_cast<std::uint16_t>(catalog_id));
    PutLe32(data, 140, original_guid);
    for (std::size_t i = 0; i < 7; ++i) {
        PutLe16(data, 164 + 2 * i, static_cast<std::uint16_t>(scores[i]));
    }
    PutLe16(data, 178, static_cast<std::uint16_t>(skill_flag));
    PutLe32(data, 184, clone_guid);
    return data;
}

Bytes CatalogTexts(const std::vector<CatalogString>& strings) {
    Bytes out = {0xFD, 0xFF};
    AppendLe16(out, static_cast<std::uint16_t>(strings.size()));
    for (const CatalogString& s : strings) {
        out.push_back(s.language);
        out.insert(out.end(), s.text.begin(), s.text.end());
        out.push_back(0);
        out.insert(out.end(), s.comment.begin(), s.comment.end());
        out.push_back(0);
    }
    return out;
}

Bytes PackedCatalogTexts(const std::vector<CatalogString>& strings, int languageSets) {
    const auto appendCounted = [](Bytes& out, const std::string& text) {
        for (std::size_t length = text.size();; length >>= 7) {
            const auto group = static_cast<std::uint8_t>(length & 0x7F);
            out.push_back(length > 0x7F ? static_cast<std::uint8_t>(group | 0x80) : group);
            if (length <= 0x7F) {
                break;
            }
        }
        out.insert(out.end(), text.begin(), text.end());
    };
    Bytes out = {0xFC, 0xFF, static_cast<std::uint8_t>(languageSets)};
    AppendLe16(out, static_cast<std::uint16_t>(strings.size()));
    for (const CatalogString& s : strings) {
        out.push_back(s.language);
        appendCounted(out, s.text);
        appendCounted(out, s.comment);
    }
    for (int set = 1; set < languageSets; ++set) {
        AppendLe16(out, 0);
    }
    return out;
}

Bytes CatalogTexts(const std::string& name, const std::string& description) {
    return CatalogTexts({{1, name, ""}, {1, description, ""}});
}

Bytes BitmapFile(int width, int height, int bitsPerPixel,
                 const std::function<std::uint32_t(int x, int y)>& pixel) {
    if (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) {
        throw std::invalid_argument("BitmapFile: 8, 24 or 32 bits per pixel");
    }
    std::vector<std::uint32_t> palette;
    std::map<std::uint32_t, std::uint8_t> paletteIndex;
    if (bitsPerPixel == 8) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t colour = pixel(x, y);
                if (paletteIndex.emplace(colour, static_cast<std::uint8_t>(palette.size()))
                        .second) {
                    palette.push_back(colour);
                }
            }
        }
        if (palette.size() > 256) {
            throw std::invalid_argument("BitmapFile: more than 256 colours for 8 bits");
        }
    }
    const auto bytesPerPixel = static_cast<std::size_t>(bitsPerPixel / 8);
    const std::size_t rowBytes =
        (static_cast<std::size_t>(width) * bytesPerPixel + 3) & ~std::size_t{3};
    const std::size_t paletteBytes = palette.size() * 4;
    const std::size_t pixelOffset = 14 + 40 + paletteBytes;

    Bytes out = {'B', 'M'};
    AppendLe32(out, 0);  // file size: 0, as most of the game's files have it
    AppendLe32(out, 0);
    AppendLe32(out, static_cast<std::uint32_t>(pixelOffset));
    AppendLe32(out, 40);
    AppendLe32(out, static_cast<std::uint32_t>(width));
    AppendLe32(out, static_cast<std::uint32_t>(height));  // positive: bottom-up rows
    AppendLe16(out, 1);
    AppendLe16(out, static_cast<std::uint16_t>(bitsPerPixel));
    AppendLe32(out, 0);  // BI_RGB
    AppendLe32(out, 0);  // image size may be 0 for BI_RGB
    AppendLe32(out, 2835);
    AppendLe32(out, 2835);
    AppendLe32(out, static_cast<std::uint32_t>(palette.size()));
    AppendLe32(out, 0);
    for (std::uint32_t colour : palette) {
        out.push_back(static_cast<std::uint8_t>(colour));
        out.push_back(static_cast<std::uint8_t>(colour >> 8));
        out.push_back(static_cast<std::uint8_t>(colour >> 16));
        out.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        Bytes row;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t colour = pixel(x, y);
            if (bitsPerPixel == 8) {
                row.push_back(paletteIndex[colour]);
            } else {
                row.push_back(static_cast<std::uint8_t>(colour));
                row.push_back(static_cast<std::uint8_t>(colour >> 8));
                row.push_back(static_cast<std::uint8_t>(colour >> 16));
                if (bitsPerPixel == 32) {
                    row.push_back(0xFF);
                }
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
    chunks_.push_back({type, id, label, offset});
    return offset;
}

void IffBuilder::Raw(const Bytes& bytes) {
    body_.insert(body_.end(), bytes.begin(), bytes.end());
}

std::vector<TypeList> IffBuilder::GeneratedTypeLists() const {
    std::vector<TypeList> lists;
    for (const ChunkInfo& chunk : chunks_) {
        auto list = std::find_if(lists.begin(), lists.end(),
                                 [&](const TypeList& l) { return l.type == chunk.type; });
        if (list == lists.end()) {
            lists.push_back({chunk.type, 0, {}});
            list = std::prev(lists.end());
        }
        MapEntry entry;
        entry.offset = chunk.offset;
        entry.id = chunk.id;
        if (map_labels_) {
            entry.label = ToBytes(chunk.label);
        }
        list->entries.push_back(entry);
        list->count = static_cast<std::uint32_t>(list->entries.size());
    }
    return lists;
}

Bytes IffBuilder::Build() const {
    Bytes out = body_;
    const std::string signature = "IFF FILE 2.5:TYPE FOLLOWED BY SIZE";
    std::copy(signature.begin(), signature.end(), out.begin());
    if (omit_map_) {
        out.insert(out.end(), trailer_.begin(), trailer_.end());
        return out;
    }
    const std::vector<TypeList> lists = custom_lists_ ? *custom_lists_ : GeneratedTypeLists();
    Bytes mapData;
    AppendLe32(mapData, 0);  // reserved
    AppendLe32(mapData, 1);  // version
    for (char c : std::string("pmsr")) {
        mapData.push_back(static_cast<std::uint8_t>(c));
    }
    AppendLe32(mapData, 0);  // size, patched below
    AppendLe32(mapData, static_cast<std::uint32_t>(lists.size()));
    for (const TypeList& list : lists) {
        for (auto c = list.type.rbegin(); c != list.type.rend(); ++c) {
            mapData.push_back(static_cast<std::uint8_t>(*c));
        }
        AppendLe32(mapData, list.count);
        for (const MapEntry& entry : list.entries) {
            AppendLe32(mapData, entry.offset);
            AppendLe16(mapData, static_cast<std::uint16_t>(entry.id));
            AppendLe16(mapData, entry.flags);
            mapData.insert(mapData.end(), entry.label.begin(), entry.label.end());
            mapData.push_back(entry.terminator);
            if (entry.pad && (entry.label.size() + 1) % 2 == 1) {
                mapData.push_back(0xA3);
            }
        }
    }
    const auto mapSize = static_cast<std::uint32_t>(kChunkHeader + mapData.size());
    PutLe32(mapData, 12, mapSize);

    const auto mapOffset = static_cast<std::uint32_t>(out.size());
    Bytes header = ChunkHeader("rsmp", map_size_.value_or(mapSize), 0, "");
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), mapData.begin(), mapData.end());
    out.insert(out.end(), trailer_.begin(), trailer_.end());

    out[60] = static_cast<std::uint8_t>(mapOffset >> 24);
    out[61] = static_cast<std::uint8_t>(mapOffset >> 16);
    out[62] = static_cast<std::uint8_t>(mapOffset >> 8);
    out[63] = static_cast<std::uint8_t>(mapOffset);
    return out;
}

void IffBuilder::Write(const std::string& path) const {
    WriteFile(path, Build());
}

Bytes TypicalObjectFile(const std::string& label, std::int16_t firstId, std::int16_t catalogId,
                        std::uint32_t guid, int subTiles) {
    IffBuilder file;
    ObjectDefinition master;
    master.guid = guid;
    master.original_guid = guid;
    master.price = 350;
    master.room_flags = 8;
    master.type_flags = 1;
    master.catalog_id = catalogId;
    file.Object(firstId, label, master);
    for (int i = 1; i <= subTiles; ++i) {
        ObjectDefinition tile;
        tile.guid = guid + static_cast<std::uint32_t>(i);
        file.Object(static_cast<std::int16_t>(firstId + i), label + " - tile " + std::to_string(i),
                    tile);
    }
    file.Chunk("CTSS", catalogId, "", CatalogTexts(label, "A fine " + label + " for any home."));
    file.Chunk("BMP_", catalogId, "", CatalogThumbnail(0x3060C0, 0x60A0F0));
    return file.Build();
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace marrowick::test
