// Writes the seed corpora of the fuzz targets from the test builder.
//
//   marrowick_make_seeds CORPUS_ROOT [SAMPLE.iff...]
//
// Each seed is one well-formed file or one corruption of it, so that the fuzzers
// start from every branch the reader has. Sample files given on the command line
// are copied into every corpus. Regression inputs from past findings are kept
// beside the seeds and are not written by this program.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "iff_builder.h"

namespace {

using namespace marrowick::test;
namespace fs = std::filesystem;

ObjectDefinition Definition(std::int16_t catalogId, std::int16_t price) {
    ObjectDefinition def;
    def.guid = 0x0AF31234;
    def.original_guid = 0x00000F00;
    def.clone_guid = 0xAB01CDEF;
    def.price = price;
    def.sale_price = static_cast<std::int16_t>(price / 2);
    def.initial_depreciation = 20;
    def.daily_depreciation = 1;
    def.self_depreciating = 1;
    def.depreciation_limit = 40;
    def.room_flags = 8;
    def.type_flags = 1;
    def.catalog_id = catalogId;
    def.scores[0] = 2;
    def.scores[1] = -3;
    def.scores[6] = 5;
    def.skill_flag = 0x15;
    return def;
}

Bytes Typical() {
    return TypicalObjectFile("Chair", 128, 100, 0x12345678, 2);
}

// One chunk of every type the scan recognises, so each type list is present.
Bytes EveryType() {
    IffBuilder file;
    file.Object(128, "Lamp", Definition(7, 120));
    for (const char* type :
         {"OBJf", "PALT", "STR#", "TTAB", "TTAs", "DGRP", "SPR2", "BHAV", "BCON", "SLOT", "FWAV"}) {
        file.Chunk(type, 128, type, Bytes(12, 0x11));
    }
    file.Chunk("CTSS", 7, "", CatalogTexts("Lamp", "Bright."));
    file.Chunk("BMP_", 7, "", CatalogThumbnail(0xFFFF00, 0xFFFFFF, 8));
    return file.Build();
}

Bytes WithHeaderOffset(Bytes bytes, std::uint32_t map) {
    bytes[60] = static_cast<std::uint8_t>(map >> 24);
    bytes[61] = static_cast<std::uint8_t>(map >> 16);
    bytes[62] = static_cast<std::uint8_t>(map >> 8);
    bytes[63] = static_cast<std::uint8_t>(map);
    return bytes;
}

// An OBJD list written by hand: `count` in the count field, and `entries` copies
// of an entry for the one object chunk.
Bytes ObjdList(std::uint32_t count, int entries, const Bytes& label, std::uint8_t terminator,
               bool pad) {
    IffBuilder file;
    const std::uint32_t chunk = file.Object(200, "Shelf", Definition(3, 75));
    TypeList list{"OBJD", count, {}};
    for (int i = 0; i < entries; ++i) {
        list.entries.push_back(
            {chunk, static_cast<std::int16_t>(200 + i), 0, label, terminator, pad});
    }
    file.SetTypeLists({list});
    return file.Build();
}

Bytes ScanQuirks() {
    // A BMP_ label ending in 16, OBJD labels without pad bytes, and a CTSS entry
    // with a label.
    IffBuilder file;
    const std::uint32_t a = file.Object(300, "Desk", Definition(9, 500));
    const std::uint32_t b = file.Object(301, "Desk tile", Definition(0, 0));
    const std::uint32_t c = file.Chunk("CTSS", 9, "", CatalogTexts("Desk", "Sturdy."));
    const std::uint32_t d = file.Chunk("BMP_", 9, "", CatalogThumbnail(0x804020, 0xC08040));
    file.SetTypeLists({
        {"OBJD",
         2,
         {{a, 300, 0, ToBytes("Desk"), 0, false}, {b, 301, 0, ToBytes("Desk tile"), 0, false}}},
        {"CTSS", 2, {{c, 9, 0, ToBytes("named"), 0, true}, {c, 9, 0, {}, 0, true}}},
        {"BMP_", 1, {{d, 9, 0, ToBytes("thumb\x10more"), 16, true}}},
    });
    return file.Build();
}

Bytes CodeInLabel() {
    // The OBJD code again inside a later label: the later place wins.
    IffBuilder file;
    const std::uint32_t a = file.Object(310, "Sofa", Definition(0, 700));
    file.SetTypeLists({
        {"OBJD", 1, {{a, 310, 0, ToBytes("Sofa"), 0, true}}},
        {"STR#", 1, {{a, 1, 0, ToBytes("DJBO\x01"), 0, true}}},
    });
    return file.Build();
}

Bytes LabelToEnd() {
    // The map is last, and its final entry's label runs to the end of the file.
    Bytes bytes = ObjdList(3, 2, ToBytes("Shelf"), 0, true);
    for (char ch : std::string("OBJD label with no end")) {
        bytes.push_back(static_cast<std::uint8_t>(ch));
    }
    return bytes;
}

Bytes DecodeVariety() {
    IffBuilder file;
    ObjectDefinition odd = Definition(11, -1);
    odd.room_flags = 0x0103;  // only the low byte counts; 3 is two rooms at once
    odd.type_flags = 128;
    file.Object(400, "Bath \xE9t\xE9 & <b>tub</b>", odd);
    ObjectDefinition zero;
    file.Object(401, "", zero);
    file.Chunk("CTSS", 11, "",
               CatalogTexts({{1, "Tub", "note\x01inside"}, {2, "Wanne", ""}, {1, "Deep.", ""}}));
    file.Chunk("CTSS", 11, "", CatalogTexts("", ""));
    return file.Build();
}

Bytes CatalogWithoutTerminators() {
    IffBuilder file;
    file.Object(500, "Rug", Definition(12, 90));
    Bytes texts = {0xFD, 0xFF, 0x02, 0x00, 0x01};
    for (int i = 0; i < 200; ++i) {
        texts.push_back(static_cast<std::uint8_t>('a' + i % 26));
    }
    file.Chunk("CTSS", 12, "", texts);
    // The name runs to the chunk's end without a zero byte or a byte 1.
    return file.Build();
}

Bytes OffsetsFarAway() {
    IffBuilder file;
    file.Object(600, "Ghost", Definition(13, 10));
    file.SetTypeLists({
        {"OBJD",
         3,
         {{0x7FFFFFFF, 600, 0, ToBytes("a"), 0, true},
          {0xFFFFFFFF, 601, 0, ToBytes("b"), 0, true},
          {0xFFFFFF00, 602, 0, {}, 0, true}}},
        {"CTSS", 1, {{0x7FFFFFFF, 13, 0, {}, 0, true}}},
        {"BMP_", 1, {{0xFFFFFFFF, 13, 0, {}, 0, true}}},
    });
    return file.Build();
}

Bytes Truncated(Bytes bytes, std::size_t keep) {
    bytes.resize(std::min(bytes.size(), keep));
    return bytes;
}

// Sets a 32-bit little-endian field of the bitmap inside a BMP_ chunk.
Bytes PatchBitmap(const Bytes& bitmap, std::size_t at, std::uint32_t value) {
    Bytes patched = bitmap;
    PutLe32(patched, at, value);
    return patched;
}

Bytes WithThumbnail(const Bytes& bitmap) {
    IffBuilder file;
    file.Object(700, "Vase", Definition(21, 60));
    file.Chunk("BMP_", 21, "", bitmap);
    return file.Build();
}

Bytes ThumbnailSizeField(std::uint32_t size) {
    Bytes bytes = WithThumbnail(CatalogThumbnail(0x102030, 0x405060, 8));
    // The BMP_ chunk is the second one: 64-byte header, then the OBJD chunk.
    const std::size_t chunk = 64 + 76 + 216;
    bytes[chunk + 4] = static_cast<std::uint8_t>(size >> 24);
    bytes[chunk + 5] = static_cast<std::uint8_t>(size >> 16);
    bytes[chunk + 6] = static_cast<std::uint8_t>(size >> 8);
    bytes[chunk + 7] = static_cast<std::uint8_t>(size);
    return bytes;
}

// Files without a resource map, which the reader walks chunk by chunk when asked.
Bytes MapLess() {
    IffBuilder file;
    file.OmitMap();
    file.Object(800, "Bench", Definition(30, 150));
    file.Object(801, "Bench tile", Definition(0, 0));
    // Longer than the first read-ahead, so the walk jumps past it.
    file.Chunk("SPR2", 800, "sprite", Bytes(9000, 0x5A));
    file.Chunk("STR#", 800, "strings", Bytes(12, 0x11));
    file.Chunk("CTSS", 30, "", CatalogTexts("Bench", "Seats two."));
    file.Chunk("BMP_", 30, "", CatalogThumbnail(0x406080, 0x80A0C0, 8));
    return file.Build();
}

Bytes MapLessSizeBelowHeader() {
    IffBuilder file;
    file.OmitMap();
    file.Object(810, "Crate", Definition(31, 40));
    Bytes header = ToBytes("STR#");
    AppendBe32(header, 12);
    header.resize(76, 0);
    file.Raw(header);
    file.Object(811, "Hidden", Definition(31, 40));
    return file.Build();
}

Bytes MapLessPackedTexts() {
    IffBuilder file;
    file.OmitMap();
    file.Object(820, "Lamp", Definition(32, 60));
    file.Object(821, "Lamp shade", Definition(33, 10));
    // A name with a zero byte inside, and a description long enough for a
    // two-group length.
    file.Chunk(
        "CTSS", 32, "",
        PackedCatalogTexts(
            {{1, std::string("L\xE4mp\0chen", 9), "note"}, {1, std::string(200, 'd'), ""}}, 3));
    // A length whose groups never end, running past the chunk.
    file.Chunk("CTSS", 33, "", {0xFC, 0xFF, 0x01, 0x02, 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 'a'});
    return file.Build();
}

Bytes MapLessOver255() {
    // Header-only chunks keep the file small; the walk counts them all the same.
    IffBuilder file;
    file.OmitMap();
    for (int i = 0; i < 257; ++i) {
        file.Chunk("OBJD", static_cast<std::int16_t>(1000 + i), "T" + std::to_string(i), {});
    }
    return file.Build();
}

void Put(const fs::path& folder, const std::string& name, const Bytes& bytes) {
    fs::create_directories(folder);
    WriteFile((folder / name).string(), bytes);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_ROOT [SAMPLE.iff...]\n", argv[0]);
        return 2;
    }
    const fs::path root(argv[1]);
    const fs::path scan = root / "scan", decode = root / "decode", thumbnail = root / "thumbnail";

    Bytes notIff = Typical();
    notIff[4] = '_';
    Bytes noMap = WithHeaderOffset(Typical(), 64);
    IffBuilder oneWindow;
    oneWindow.Object(128, "Stool", Definition(4, 30));
    oneWindow.Chunk("CTSS", 4, "", CatalogTexts("Stool", "Low."));
    oneWindow.SetMapSize(0x00010000);

    Put(scan, "seed-typical.iff", Typical());
    Put(scan, "seed-every-type.iff", EveryType());
    Put(scan, "seed-not-iff.iff", notIff);
    Put(scan, "seed-short.iff", ToBytes("IFF F"));
    Put(scan, "seed-no-map.iff", noMap);
    Put(scan, "seed-map-at-2g.iff", WithHeaderOffset(Typical(), 0x7FFFFFFF));
    Put(scan, "seed-map-at-4g.iff", WithHeaderOffset(Typical(), 0xFFFFFFFF));
    Put(scan, "seed-one-window.iff", oneWindow.Build());
    Put(scan, "seed-quirks.iff", ScanQuirks());
    Put(scan, "seed-code-in-label.iff", CodeInLabel());
    Put(scan, "seed-count-300.iff", ObjdList(300, 300, {}, 0, true));
    Put(scan, "seed-count-256.iff", ObjdList(256, 2, ToBytes("x"), 0, true));
    Put(scan, "seed-count-past-end.iff", ObjdList(200, 3, ToBytes("Shelf"), 0, false));
    Put(scan, "seed-label-to-end.iff", LabelToEnd());
    Put(scan, "seed-offsets-far.iff", OffsetsFarAway());
    Put(scan, "seed-walk.iff", MapLess());
    Put(scan, "seed-walk-cut-in-chunk.iff", Truncated(MapLess(), 64 + 2 * 292 + 4000));
    Put(scan, "seed-walk-size-below-header.iff", MapLessSizeBelowHeader());
    Put(scan, "seed-walk-over-255.iff", MapLessOver255());

    Put(decode, "seed-typical.iff", Typical());
    Put(decode, "seed-every-type.iff", EveryType());
    Put(decode, "seed-variety.iff", DecodeVariety());
    Put(decode, "seed-catalog-no-terminators.iff", CatalogWithoutTerminators());
    Put(decode, "seed-offsets-far.iff", OffsetsFarAway());
    Put(decode, "seed-cut-in-object.iff", Truncated(ScanQuirks(), 64 + 76 + 150));
    Put(decode, "seed-quirks.iff", ScanQuirks());
    Put(decode, "seed-walk.iff", MapLess());
    Put(decode, "seed-walk-cut-in-chunk.iff", Truncated(MapLess(), 64 + 2 * 292 + 4000));
    Put(decode, "seed-walk-size-below-header.iff", MapLessSizeBelowHeader());
    Put(decode, "seed-walk-packed-texts.iff", MapLessPackedTexts());

    const Bytes thumb8 = CatalogThumbnail(0x3060C0, 0x60A0F0, 8);
    const Bytes thumb24 = CatalogThumbnail(0x3060C0, 0x60A0F0, 24);
    Put(thumbnail, "seed-typical.iff", Typical());
    Put(thumbnail, "seed-8bit.iff", WithThumbnail(thumb8));
    Put(thumbnail, "seed-32bit.iff", WithThumbnail(CatalogThumbnail(0x3060C0, 0x60A0F0, 32)));
    Put(thumbnail, "seed-square.iff", WithThumbnail(BitmapFile(5, 5, 24, [](int x, int y) {
            return static_cast<std::uint32_t>(x * 40 + y * 4000);
        })));
    Put(thumbnail, "seed-top-down.iff",
        WithThumbnail(PatchBitmap(thumb8, 22, static_cast<std::uint32_t>(-37))));
    Put(thumbnail, "seed-huge-width.iff", WithThumbnail(PatchBitmap(thumb8, 18, 100000)));
    Put(thumbnail, "seed-rle8.iff", WithThumbnail(PatchBitmap(thumb8, 30, 1)));
    Put(thumbnail, "seed-bitfields.iff", WithThumbnail(PatchBitmap(thumb24, 30, 3)));
    Put(thumbnail, "seed-pixels-cut.iff", WithThumbnail(Truncated(thumb24, 400)));
    Put(thumbnail, "seed-not-bm.iff", WithThumbnail(ToBytes("GIF89a")));
    Put(thumbnail, "seed-size-small.iff", ThumbnailSizeField(80));
    Put(thumbnail, "seed-size-huge.iff", ThumbnailSizeField(0x7FFFFFFF));
    Put(thumbnail, "seed-offsets-far.iff", OffsetsFarAway());
    Put(thumbnail, "seed-walk.iff", MapLess());

    for (int i = 2; i < argc; ++i) {
        const Bytes sample = ReadFile(argv[i]);
        const std::string name = "sample-" + fs::path(argv[i]).filename().string();
        for (const fs::path& folder : {scan, decode, thumbnail}) {
            Put(folder, name, sample);
        }
    }
    return 0;
}
