// Shared pieces of the reader tests: a scratch folder and a message recorder.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "iff_builder.h"
#include "messages.h"
#include "parse_iff.h"

namespace marrowick::test {

class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // Writes `bytes` to a file named `name` in the folder and returns its path.
    std::string Write(const std::string& name, const Bytes& bytes) const;
    std::string Path(const std::string& name) const { return (root_ / name).string(); }

  private:
    std::filesystem::path root_;
};

struct RecordedMessages : MessageSink {
    std::vector<std::pair<std::string, std::string>> shown;  // text, caption
    void ShowMessage(const std::string& text, const std::string& caption) override {
        shown.emplace_back(text, caption);
    }
};

// A reader with a recorder attached, scanning the way the main window does.
struct Reader {
    ParseIFF parse;
    RecordedMessages messages;
    Reader() { parse.SetMessageSink(&messages); }
    void Open(const std::string& path) {
        parse.CurrentFile = path;
        parse.ScanObjectFile(path);
    }
};

}  // namespace marrowick::test
