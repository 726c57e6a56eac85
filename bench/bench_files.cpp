#include "bench_files.h"

#include <filesystem>
#include <fstream>

#include "demo_sample.h"
#include "iff_builder.h"

namespace marrowick::bench {
namespace {

using test::IffBuilder;
using test::ObjectDefinition;

test::Bytes ManyObjects() {
    IffBuilder file;
    for (int i = 0; i < 255; ++i) {
        ObjectDefinition def;
        def.guid = 0x10000000u + static_cast<std::uint32_t>(i);
        def.price = static_cast<std::int16_t>(10 * i);
        def.room_flags = 8;
        def.type_flags = 1;
        def.catalog_id = static_cast<std::int16_t>(3000 + i);
        const std::string label = "Object number " + std::to_string(i);
        file.Object(static_cast<std::int16_t>(128 + i), label, def);
        file.Chunk("CTSS", def.catalog_id, "",
                   test::CatalogTexts(label, "The description of " + label + ", at some length."));
    }
    return file.Build();
}

test::Bytes OneMegabyte(bool withMap) {
    IffBuilder file;
    if (!withMap) {
        file.OmitMap();
    }
    for (int i = 0; i < 4; ++i) {
        ObjectDefinition def;
        def.guid = 0x20000000u + static_cast<std::uint32_t>(i);
        def.catalog_id = static_cast<std::int16_t>(i == 0 ? 4000 : 0);
        file.Object(static_cast<std::int16_t>(128 + i), "Big object " + std::to_string(i), def);
        // Sprites make up most of a real file's bytes and are never read here.
        file.Chunk("SPR2", static_cast<std::int16_t>(128 + i), "", test::Bytes(250 * 1024, 0x5A));
    }
    file.Chunk("CTSS", 4000, "", test::CatalogTexts("Big object", "Mostly sprites."));
    file.Chunk("BMP_", 4000, "", test::CatalogThumbnail(0x808080, 0xA0A0A0));
    return file.Build();
}

test::Bytes SmallChunks() {
    constexpr int kChunks = 1'300'000;
    constexpr int kObjectEvery = kChunks / 8;
    static const char* const kFiller[] = {"BHAV", "STR#", "TTAB", "SLOT", "BCON", "FWAV"};
    IffBuilder file;
    file.OmitMap();
    for (int i = 0; i < kChunks; ++i) {
        if (i % kObjectEvery == kObjectEvery / 2) {
            const int n = i / kObjectEvery;
            ObjectDefinition def;
            def.guid = 0x30000000u + static_cast<std::uint32_t>(n);
            def.catalog_id = static_cast<std::int16_t>(n % 2 == 0 ? 5000 + n : 0);
            file.Object(static_cast<std::int16_t>(128 + n), "Small object " + std::to_string(n),
                        def);
            if (n % 2 == 0) {
                file.Chunk("CTSS", def.catalog_id, "", test::CatalogTexts("Small", "In a crowd."));
                file.Chunk("BMP_", def.catalog_id, "",
                           test::CatalogThumbnail(0x204060, 0x406080, 8));
            }
            continue;
        }
        file.Chunk(kFiller[i % 6], static_cast<std::int16_t>(i), "",
                   test::Bytes(static_cast<std::size_t>(i % 15), 0x11));
    }
    return file.Build();
}

test::Bytes EndlessLabel() {
    IffBuilder file;
    file.Object(128, "Chair", {});
    file.SetTypeLists({{"OBJD", 2, {{64, 128, 0, {}}}}});
    // After the list's one entry, the fixed fields of a second, then its label.
    test::Bytes trailer = {64, 0, 0, 0, 129, 0, 0, 0};
    trailer.resize(std::size_t{64} << 20, 'x');
    file.SetTrailer(std::move(trailer));
    return file.Build();
}

std::filesystem::path Folder() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "marrowick-bench";
    std::filesystem::create_directories(folder);
    return folder;
}

std::string Write(const std::string& name, const test::Bytes& bytes) {
    const std::string path = (Folder() / name).string();
    test::WriteFile(path, bytes);
    return path;
}

}  // namespace

const BenchFiles& Files() {
    static const BenchFiles files{Write("sample.iff", tools::DemoSample()),
                                  Write("many-objects.iff", ManyObjects()),
                                  Write("one-megabyte.iff", OneMegabyte(true)),
                                  Write("one-megabyte-no-map.iff", OneMegabyte(false))};
    return files;
}

const std::string& ManySmallChunks() {
    static const std::string path = [] {
        const std::filesystem::path file = Folder() / "small-chunks.iff";
        if (!std::filesystem::exists(file)) {
            // Renamed into place only when complete, so a run cut short writes it again.
            const std::filesystem::path partial = Folder() / "small-chunks.iff.partial";
            test::WriteFile(partial.string(), SmallChunks());
            std::filesystem::rename(partial, file);
        }
        return file.string();
    }();
    return path;
}

const std::string& EndlessMapLabel() {
    static const std::string path = Write("endless-map-label.iff", EndlessLabel());
    return path;
}

std::size_t ReadAllBytes(const std::string& path, std::vector<char>& buffer) {
    std::ifstream in(path, std::ios::binary);
    std::size_t total = 0;
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
        total += static_cast<std::size_t>(in.gcount());
    }
    return total;
}

}  // namespace marrowick::bench
