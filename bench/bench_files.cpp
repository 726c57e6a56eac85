#include "bench_files.h"

#include <filesystem>

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

test::Bytes OneMegabyte() {
    IffBuilder file;
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

std::string Write(const std::string& name, const test::Bytes& bytes) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "marrowick-bench";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / name).string();
    test::WriteFile(path, bytes);
    return path;
}

}  // namespace

const BenchFiles& Files() {
    static const BenchFiles files{Write("sample.iff", tools::DemoSample()),
                                  Write("many-objects.iff", ManyObjects()),
                                  Write("one-megabyte.iff", OneMegabyte())};
    return files;
}

}  // namespace marrowick::bench
