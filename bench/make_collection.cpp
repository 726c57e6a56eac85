// Writes a collection of object files for timing marrowick-inspect:
//   make_collection FOLDER [COUNT]
//   make_collection --archive FILE [COUNT]
//   make_collection --entries FILE COUNT NAME_LENGTH
// COUNT files (10,000 by default) of 1 to 10 objects each, 10 KB to 1 MB in
// size (log-uniform, so small files are common, as in real collections), spread
// over nested folders with extensions in several letter cases. About 2% of the
// files reuse a GUID of an earlier file, 1% are copies of an earlier file and
// 0.5% hold an object without a GUID. With --archive the same kind of files,
// 2,000 by default and 5 KB to 200 KB in size (about 100 MB in all), are the
// members of one archive, named by their paths in the collection. The same
// arguments write the same files. With --entries, one archive lists one small
// object file COUNT times, each entry under a name of its own NAME_LENGTH bytes
// long (at least 16): what the check's memory must not grow with beyond the
// manifest's own bytes.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>

#include "iff_builder.h"

namespace {

namespace fs = std::filesystem;
using marrowick::test::ArchiveBuilder;
using marrowick::test::Bytes;
using marrowick::test::IffBuilder;
using marrowick::test::ObjectDefinition;

constexpr const char* kExtensions[] = {".iff", ".IFF", ".Iff"};

struct Generator {
    std::mt19937 random{20240611};
    std::uint32_t nextGuid = 0x10000000;
    std::vector<std::uint32_t> usedGuids;
    std::vector<fs::path> written;
    double smallest = 10e3, largest = 1e6;  // file sizes in bytes

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random); }

    Bytes ObjectFile(int index) {
        const int objects = Uniform(1, 10);
        const double logSize =
            std::uniform_real_distribution<double>(std::log(smallest), std::log(largest))(random);
        const auto target = static_cast<std::size_t>(std::exp(logSize));
        const bool sharesGuid = !usedGuids.empty() && Chance(0.02);
        const bool hasZeroGuid = Chance(0.005);

        IffBuilder file;
        const auto catalog = static_cast<std::int16_t>(1000 + index % 30000);
        for (int i = 0; i < objects; ++i) {
            ObjectDefinition def;
            def.guid = nextGuid++;
            if (i == 0 && sharesGuid) {
                def.guid = usedGuids[static_cast<std::size_t>(
                    Uniform(0, static_cast<int>(usedGuids.size()) - 1))];
            } else if (i == objects - 1 && hasZeroGuid) {
                def.guid = 0;
            }
            usedGuids.push_back(def.guid);
            def.original_guid = def.guid;
            def.price = static_cast<std::int16_t>(Uniform(1, 5000));
            def.room_flags = 8;
            def.type_flags = 1;
            def.catalog_id = i == 0 ? catalog : 0;
            const std::string label =
                "Object " + std::to_string(index) + (i == 0 ? "" : " - tile " + std::to_string(i));
            file.Object(static_cast<std::int16_t>(128 + i), label, def);
        }
        file.Chunk("CTSS", catalog, "",
                   marrowick::test::CatalogTexts("Object " + std::to_string(index), "Generated."));
        file.Chunk("BMP_", catalog, "", marrowick::test::CatalogThumbnail(0x406080, 0x6080A0));
        // Sprites fill the file up to its size; their bytes are never read.
        std::size_t size = file.Build().size();
        for (std::int16_t id = 128; size + 76 < target; ++id) {
            const std::size_t data = std::min<std::size_t>(target - size - 76, 256 * 1024);
            file.Chunk("SPR2", id, "", Bytes(data, static_cast<std::uint8_t>(id)));
            size += 76 + data + 16;  // the map entry grows too
        }
        return file.Build();
    }

    fs::path PathFor(const fs::path& root, int index) {
        fs::path folder = root / ("pack-" + std::to_string(index % 100));
        if (index % 7 == 0) {
            folder /= "more";
        }
        fs::create_directories(folder);
        return folder / ("object-" + std::to_string(index) + kExtensions[index % 3]);
    }
};

// Members are stored one after another; a copy is stored again, as when two
// packs of one archive hold the same file.
int WriteArchive(const fs::path& path, int count) {
    Generator generator;
    generator.smallest = 5e3;
    generator.largest = 200e3;
    ArchiveBuilder archive;
    std::vector<Bytes> members;
    for (int index = 0; index < count; ++index) {
        if (!members.empty() && generator.Chance(0.01)) {
            members.push_back(members[static_cast<std::size_t>(
                generator.Uniform(0, static_cast<int>(members.size()) - 1))]);
        } else {
            members.push_back(generator.ObjectFile(index));
        }
        const std::string name = "pack-" + std::to_string(index % 100) + "\\object-" +
                                 std::to_string(index) + kExtensions[index % 3];
        archive.Member(name, members.back());
    }
    const Bytes bytes = archive.Build();
    marrowick::test::WriteFile(path.string(), bytes);
    std::cout << count << " members, " << bytes.size() / (1024 * 1024) << " MB in " << path.string()
              << '\n';
    return 0;
}

// Every entry points at the one member's bytes; the names differ in their last
// digits, and a folder of 'x's brings each to `nameLength` bytes.
int WriteEntries(const fs::path& path, int count, std::size_t nameLength) {
    ArchiveBuilder archive;
    const Bytes member = marrowick::test::TypicalObjectFile("Chair", 128, 1, 0x5EA7C0DE, 1);
    for (int index = 0; index < count; ++index) {
        const std::string file = "chair-" + std::to_string(index) + ".iff";
        const std::string name = file.size() + 1 < nameLength
                                     ? std::string(nameLength - file.size() - 1, 'x') + "/" + file
                                     : file;
        if (index == 0) {
            archive.Member(name, member);
        } else {
            archive.Entry(name, 16, static_cast<std::uint32_t>(member.size()));
        }
    }
    const Bytes bytes = archive.Build();
    marrowick::test::WriteFile(path.string(), bytes);
    std::cout << count << " entries of " << nameLength << "-byte names, " << bytes.size()
              << " bytes in " << path.string() << '\n';
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool archive = argc >= 2 && std::string(argv[1]) == "--archive";
    if (argc == 5 && std::string(argv[1]) == "--entries") {
        return WriteEntries(argv[2], std::stoi(argv[3]),
                            std::max<std::size_t>(16, std::stoul(argv[4])));
    }
    if (argc < 2 + archive || argc > 3 + archive) {
        std::cerr << "Usage: make_collection FOLDER [COUNT]\n"
                     "       make_collection --archive FILE [COUNT]\n"
                     "       make_collection --entries FILE COUNT NAME_LENGTH\n";
        return 2;
    }
    if (archive) {
        return WriteArchive(argv[2], argc == 4 ? std::stoi(argv[3]) : 2000);
    }
    const fs::path root = argv[1];
    const int count = argc == 3 ? std::stoi(argv[2]) : 10000;
    Generator generator;
    std::uint64_t bytes = 0;
    for (int index = 0; index < count; ++index) {
        const fs::path path = generator.PathFor(root, index);
        if (!generator.written.empty() && generator.Chance(0.01)) {
            const fs::path& original = generator.written[static_cast<std::size_t>(
                generator.Uniform(0, static_cast<int>(generator.written.size()) - 1))];
            fs::copy_file(original, path, fs::copy_options::overwrite_existing);
        } else {
            marrowick::test::WriteFile(path.string(), generator.ObjectFile(index));
        }
        bytes += fs::file_size(path);
        generator.written.push_back(path);
    }
    std::cout << count << " files, " << bytes / (1024 * 1024) << " MB in " << root.string() << '\n';
    return 0;
}
