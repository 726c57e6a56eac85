// Writes the fuzz seeds from the test builder, so that the fuzzers start from
// every branch of the reader: well-formed files and archives, and corruptions
// of them.
// Files named after the corpus root are copied into every corpus as sample-*.
//   make_seeds CORPUS_ROOT [SAMPLE.iff...]
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>

#include "iff_builder.h"

namespace {

using namespace marrowick::test;

ObjectDefinition Definition(std::int16_t catalogId, std::int16_t price) {
    // GUID, prices, depreciation, room, type, catalog id, original GUID, scores...
    return {0x0AF31234, price,      static_cast<std::int16_t>(price / 2),
            20,         1,          1,
            40,         8,          1,
            catalogId,  0x00000F00, {2, -3, 0, 0, 0, 0, 5},
            0x15,       0xAB01CDEF};
}

Bytes Build(const std::function<void(IffBuilder&)>& add) {
    IffBuilder file;
    add(file);
    return file.Build();
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_ROOT [SAMPLE.iff...]\n", argv[0]);
        return 2;
    }
    // Writes a file into the corpora of the targets whose initials are given.
    const auto put = [&](const std::string& name, const char* targets, const Bytes& bytes) {
        for (const char* target : {"scan", "decode", "thumbnail", "archive"}) {
            if (std::strchr(targets, target[0]) != nullptr) {
                fs::create_directories(fs::path(argv[1]) / target);
                WriteFile((fs::path(argv[1]) / target / name).string(), bytes);
            }
        }
    };
    for (int i = 2; i < argc; ++i) {
        put("sample-" + fs::path(argv[i]).filename().string(), "sdt", ReadFile(argv[i]));
    }
    const Bytes typical = TypicalObjectFile("Chair", 128, 100, 0x12345678, 2);
    put("seed-typical.iff", "sdt", typical);
    Bytes notIff = typical;
    notIff[4] = '_';
    put("seed-not-iff.iff", "s", notIff);
    put("seed-offsets-far.iff", "sdt", Build([](IffBuilder& file) {
            file.Object(600, "Ghost", Definition(13, 10));
            file.SetTypeLists({{"OBJD",
                                3,
                                {{0x7FFFFFFF, 600, 0, ToBytes("a"), 0, true},
                                 {0xFFFFFFFF, 601, 0, ToBytes("b"), 0, true},
                                 {0xFFFFFF00, 602, 0, {}, 0, true}}},
                               {"CTSS", 1, {{0x7FFFFFFF, 13, 0, {}, 0, true}}},
                               {"BMP_", 1, {{0xFFFFFFFF, 13, 0, {}, 0, true}}}});
        }));
    put("seed-variety.iff", "d", Build([](IffBuilder& file) {
            ObjectDefinition odd = Definition(11, -1);
            odd.room_flags = 0x0103;  // only the low byte counts: two rooms at once
            odd.type_flags = 128;
            file.Object(400, "Bath \xE9t\xE9 & <b>tub</b>", odd);
            file.Object(401, "", ObjectDefinition{});
            file.Chunk(
                "CTSS", 11, "",
                CatalogTexts({{1, "Tub", "note\x01inside"}, {2, "Wanne", ""}, {1, "Deep.", ""}}));
            file.Chunk("CTSS", 11, "", CatalogTexts("", ""));
        }));
    // Without a map, with a chunk longer than the walk's first read-ahead; then cut in it.
    const Bytes walk = Build([](IffBuilder& file) {
        file.OmitMap();
        file.Object(800, "Bench", Definition(30, 150));
        file.Object(801, "Bench tile", Definition(0, 0));
        file.Chunk("SPR2", 800, "sprite", Bytes(9000, 0x5A));
        file.Chunk("STR#", 800, "strings", Bytes(12, 0x11));
        file.Chunk("CTSS", 30, "", CatalogTexts("Bench", "Seats two."));
        file.Chunk("BMP_", 30, "", CatalogThumbnail(0x406080, 0x80A0C0, 8));
    });
    put("seed-walk.iff", "sdt", walk);
    put("seed-walk-cut-in-chunk.iff", "sd",
        Bytes(walk.begin(), walk.begin() + 64 + 2 * 292 + 4000));
    put("seed-walk-packed-texts.iff", "d", Build([](IffBuilder& file) {
            file.OmitMap();
            file.Object(820, "Lamp", Definition(32, 60));
            file.Object(821, "Lamp shade", Definition(33, 10));
            // A name holding a zero byte, a two-group length; then a length whose
            // groups run past the chunk.
            file.Chunk("CTSS", 32, "",
                       PackedCatalogTexts({{1, std::string("L\xE4mp\0chen", 9), "note"},
                                           {1, std::string(200, 'd'), ""}},
                                          3));
            file.Chunk("CTSS", 33, "",
                       {0xFC, 0xFF, 0x01, 0x02, 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 'a'});
        }));
    put("seed-walk-over-255.iff", "s", Build([](IffBuilder& file) {
            file.OmitMap();
            for (int i = 0; i < 257; ++i) {
                file.Chunk("OBJD", static_cast<std::int16_t>(1000 + i),
                           std::string("T").append(std::to_string(i)), {});
            }
        }));
    // Archives: members whole, then cut, overlapping, repeated, past the end, not
    // object files, an archive stored as a member and a member inside it.
    ArchiveBuilder inner;
    inner.Member("nested/chair.iff", typical);
    const Bytes nested = inner.Build();
    ArchiveBuilder archive;
    archive.Member("Objects\\Chair.IFF", typical);
    archive.Member("bench.iff", walk);
    const Bytes note = ToBytes("not an object file");
    archive.Member("readme.txt", note);
    archive.Member("inner.far", nested);
    put("seed-archive.far", "a", archive.Build());
    const auto size = [](const Bytes& bytes) { return static_cast<std::uint32_t>(bytes.size()); };
    const std::uint32_t bench = 16 + size(typical), stored = bench + size(walk) + size(note);
    archive.Entry("bench-cut-in-sprite.iff", bench, size(walk) - 5000);
    archive.Entry("bench-cut-in-header.iff", bench, 64 + 292 + 40);  // in the 2nd header
    archive.Entry("chair-and-bench.iff", 16, size(typical) + size(walk));
    archive.Entry("Objects\\Chair.IFF", 16, size(typical));
    archive.Entry("inner.iff", stored, size(nested));
    archive.Entry("nested-chair.iff", stored + 16, size(typical));
    archive.Entry("runs-past-end.iff", stored, size(nested) + 4096);
    archive.Entry("far-away.iff", 0xFFFFFFF0, 32);
    put("seed-archive-quirks.far", "a", archive.Build());
    archive.SetCount(13);  // one more than listed: the manifest runs past the end
    put("seed-archive-count-past-end.far", "a", archive.Build());
    return 0;
}
