#include "demo_sample.h"

#include <algorithm>

namespace marrowick::tools {
namespace {

using test::BitmapFile;
using test::CatalogString;
using test::CatalogTexts;
using test::ObjectDefinition;

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, int weight /* of b, 0..16 */) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const auto ca = static_cast<int>((a >> shift) & 0xFF);
        const auto cb = static_cast<int>((b >> shift) & 0xFF);
        out |= static_cast<std::uint32_t>((ca * (16 - weight) + cb * weight) / 16) << shift;
    }
    return out;
}

// A 74 x 37 catalog thumbnail like the game's: the object as a shaded disc on a
// pale backdrop, the right half the same picture highlighted.
test::Bytes Thumbnail(std::uint32_t colour) {
    return BitmapFile(74, 37, 24, [colour](int x, int y) -> std::uint32_t {
        const bool highlighted = x >= 37;
        const int hx = highlighted ? x - 37 : x;
        const std::uint32_t backdrop = Mix(0xD8E4F0, 0xFFFFFF, y * 16 / 37);
        const int dx = hx - 18;
        const int dy = y - 17;
        const int d2 = dx * dx + dy * dy;
        std::uint32_t pixel = backdrop;
        if (d2 <= 13 * 13) {
            // Lit from the upper left.
            const int light = std::clamp(8 - (dx + dy) / 3, 0, 14);
            pixel = Mix(Mix(colour, 0x000000, 6), Mix(colour, 0xFFFFFF, 6), light);
            if (d2 > 12 * 12) {
                pixel = Mix(colour, 0x000000, 10);  // outline
            }
        } else if ((dx - 3) * (dx - 3) / 2 + (dy - 12) * (dy - 12) * 4 <= 120 && dy > 10) {
            pixel = Mix(backdrop, 0x000000, 4);  // shadow
        }
        return highlighted ? Mix(pixel, 0xFFF0A0, 5) : pixel;
    });
}

constexpr std::uint8_t kEnglish = 1;
constexpr std::uint8_t kFrench = 2;

// An object shown in the catalog: its definition, then catalog texts and a
// thumbnail whose chunk ids are its catalog id.
void CatalogObject(test::IffBuilder& file, std::int16_t id, const std::string& label,
                   const ObjectDefinition& def, const std::vector<CatalogString>& texts,
                   std::uint32_t colour) {
    file.Object(id, label, def);
    file.Chunk("CTSS", def.catalog_id, "", CatalogTexts(texts));
    file.Chunk("BMP_", def.catalog_id, "", Thumbnail(colour));
}

}  // namespace

test::Bytes DemoSample() {
    test::IffBuilder file;

    ObjectDefinition chair;
    chair.guid = 0xE7EA4328;  // the editor shows 2843 EAE7
    chair.original_guid = 0xE7EA4328;
    chair.price = 150;
    chair.sale_price = 120;
    chair.initial_depreciation = 20;
    chair.daily_depreciation = 2;
    chair.self_depreciating = 1;
    chair.depreciation_limit = 30;
    chair.room_flags = 32;  // Dining Room
    chair.type_flags = 1;   // Seating
    chair.catalog_id = 2000;
    chair.scores[1] = 4;  // comfort
    chair.skill_flag = 0;
    CatalogObject(file, 128, "Dining Chair", chair,
                  {{kEnglish, "Dining Chair", "catalog name"},
                   {kEnglish, "A sturdy chair for the dinner table.", "catalog description"}},
                  0x8B5A2B);

    // A label in Windows-1252: byte 0xE9 is é. Several room bits are set, as in
    // many real files, and a French name stands between the two English texts.
    ObjectDefinition table;
    table.guid = 0x1A2B3C4D;
    table.original_guid = 0x1A2B3C4D;
    table.price = 300;
    table.sale_price = 240;
    table.room_flags = 43;  // Kitchen, Bedroom, Living Room, Dining Room
    table.type_flags = 2;   // Surfaces
    table.catalog_id = 2001;
    CatalogObject(file, 129, "Caf\xE9 Table", table,
                  {{kEnglish, "Caf\xE9 Table", ""},
                   {kFrench, "Table de caf\xE9", ""},
                   {kEnglish, "Small, round and always ready for an espresso.", ""},
                   {kFrench, "Petite, ronde et toujours pr\xEAte pour un espresso.", ""}},
                  0xC0C0C0);

    ObjectDefinition lamp;
    lamp.guid = 0x00C0FFEE;
    lamp.original_guid = 0x00C0FFEE;
    lamp.price = 85;
    lamp.room_flags = 128;  // Study
    lamp.type_flags = 128;  // Lighting
    lamp.catalog_id = 2002;
    lamp.scores[6] = 2;   // room
    lamp.skill_flag = 5;  // two skills at once
    CatalogObject(
        file, 130, "Reading Lamp", lamp,
        {{kEnglish, "Reading Lamp", ""}, {kEnglish, "Bright enough for the longest novel.", ""}},
        0xF0D060);

    ObjectDefinition stereo;
    stereo.guid = 0x57E4E0A1;
    stereo.original_guid = 0x57E4E0A0;
    stereo.clone_guid = 0x11223344;
    stereo.price = 1250;
    stereo.sale_price = 900;
    stereo.initial_depreciation = 250;
    stereo.daily_depreciation = 25;
    stereo.self_depreciating = 1;
    stereo.depreciation_limit = 500;
    stereo.room_flags = 8;  // Living Room
    stereo.type_flags = 8;  // Electronics
    stereo.catalog_id = 2003;
    stereo.scores[5] = 6;  // fun
    stereo.skill_flag = 65;
    CatalogObject(file, 131, "Old Stereo", stereo,
                  {{kEnglish, "Old Stereo", ""},
                   {kEnglish, "Loud, proud and a little scratchy.", ""},
                   {kFrench, "Vieille cha\xEEne st\xE9r\xE9o", ""},
                   {kFrench,
                    "Forte, fi\xE8re et un peu ray\xE9"
                    "e.",
                    ""}},
                  0x303030);

    ObjectDefinition bathtub;
    bathtub.guid = 0xB47B0B00;
    bathtub.original_guid = 0xB47B0B00;
    bathtub.price = 700;
    bathtub.room_flags = 4;   // Bathroom
    bathtub.type_flags = 16;  // Plumbing
    bathtub.catalog_id = 2004;
    bathtub.scores[2] = 8;  // hygiene
    bathtub.scores[1] = 3;  // comfort
    CatalogObject(file, 132, "Bathtub", bathtub,
                  {{kEnglish, "Bathtub", ""}, {kEnglish, "Deep enough to forget the day.", ""}},
                  0xE8F4F8);

    // A part of the bathtub that the catalog does not list: no catalog texts and
    // no thumbnail share its catalog id.
    ObjectDefinition tile;
    tile.guid = 0xB47B0B01;
    tile.original_guid = 0xB47B0B01;
    tile.catalog_id = 0;
    file.Object(133, "Bathtub - tile 1", tile);

    return file.Build();
}

}  // namespace marrowick::tools
