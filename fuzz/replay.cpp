// Runs corpus files through the fuzz entries without libFuzzer, so the default
// build checks every seed and every past finding as an ordinary test.
//
//   marrowick_fuzz_replay scan|decode|thumbnail FILE_OR_FOLDER...
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "entries.h"

namespace {

using Entry = void (*)(std::span<const std::uint8_t>);

Entry EntryNamed(std::string_view name) {
    if (name == "scan") {
        return marrowick::fuzz::ScanEntry;
    }
    if (name == "decode") {
        return marrowick::fuzz::DecodeEntry;
    }
    if (name == "thumbnail") {
        return marrowick::fuzz::ThumbnailEntry;
    }
    return nullptr;
}

std::vector<std::filesystem::path> Inputs(int argc, char** argv) {
    std::vector<std::filesystem::path> files;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& item : std::filesystem::directory_iterator(path)) {
                if (item.is_regular_file()) {
                    files.push_back(item.path());
                }
            }
        } else {
            files.push_back(path);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    const Entry entry = argc >= 3 ? EntryNamed(argv[1]) : nullptr;
    if (entry == nullptr) {
        std::fprintf(stderr, "usage: %s scan|decode|thumbnail FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    const std::vector<std::filesystem::path> files = Inputs(argc, argv);
    if (files.empty()) {
        // An empty run would pass while checking nothing.
        std::fprintf(stderr, "no inputs found\n");
        return 1;
    }
    for (const std::filesystem::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 1;
        }
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                              std::istreambuf_iterator<char>());
        // Named first so that a crash in the entry points at its input.
        std::fprintf(stderr, "%s\n", file.c_str());
        entry(bytes);
    }
    std::printf("replayed %zu inputs through %s\n", files.size(), argv[1]);
    return 0;
}
