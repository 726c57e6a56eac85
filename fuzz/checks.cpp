#include "checks.h"

#include <cstdio>
#include <cstdlib>

#include "input_file.h"

namespace marrowick::fuzz {

void Require(bool holds, const char* rule) {
    if (!holds) {
        std::fprintf(stderr, "broken rule: %s\n", rule);
        std::abort();
    }
}

bool IsUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80    ? 1
                                   : lead >= 0xF0 ? 4
                                   : lead >= 0xE0 ? 3
                                   : lead >= 0xC2 ? 2
                                                  : 0;
        if (length == 0 || at + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        at += length;
    }
    return true;
}

void CountingSink::ShowMessage(const std::string& text, const std::string& caption) {
    Require(!text.empty() && !caption.empty(), "a message has a text and a caption");
    ++shown;
}

std::unique_ptr<ParseIFF> ScanChecked(std::span<const std::uint8_t> bytes, CountingSink& sink) {
    const std::string& path = InputFile::Instance().Write(bytes);
    auto parse = std::make_unique<ParseIFF>();
    parse->SetMessageSink(&sink);
    parse->CurrentFile = path;
    parse->ScanObjectFile(path);

    Require(sink.shown <= 1, "a scan reports at most one message");
    Require(parse->FileNum == -1, "no file stays open after a scan");
    for (int count : {parse->ObjdCount, parse->CtssCount, parse->BmpCount}) {
        Require(count >= 0 && count <= 255, "counts are 0 to 255");
    }
    const auto size = static_cast<std::int64_t>(bytes.size());
    for (std::int64_t pos : parse->TypeListPos) {
        // A list position is the byte after a four-byte window inside the file.
        Require(pos == 0 || (pos >= 100 && pos <= size), "list positions lie inside the file");
        Require(sink.shown == 0 || pos == 0, "a rejected file leaves no list position");
    }
    if (sink.shown > 0) {
        Require(parse->ObjdCount == 0 && parse->CtssCount == 0 && parse->BmpCount == 0,
                "a rejected file leaves the index empty");
    }
    const auto listFound = [&](ChunkType type) {
        return parse->TypeListPos[static_cast<std::size_t>(type)] > 0;
    };
    Require(parse->ObjdCount == 0 || listFound(ChunkType::OBJD), "objects come from an OBJD list");
    Require(parse->CtssCount == 0 || listFound(ChunkType::CTSS), "CTSS rows come from a CTSS list");
    Require(parse->BmpCount == 0 || listFound(ChunkType::BMP_), "BMP_ rows come from a BMP_ list");
    for (int i = 0; i < parse->ObjdCount; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const std::string& label = parse->ObjdLabel[row];
        Require(label.size() <= ParseIFF::kMaxTextBytes, "labels are bounded");
        Require(label.find('\0') == std::string::npos, "labels end at their zero byte");
        Require(parse->ObjdChunkId[row] >= 0 && parse->ObjdChunkId[row] <= 65535,
                "object chunk ids are 16-bit");
    }
    return parse;
}

}  // namespace marrowick::fuzz
