// What reader tests share: a scratch folder, and a reader wired the way the
// main window wires it, with its messages recorded.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "iff_builder.h"
#include "messages.h"
#include "parse_iff.h"

namespace marrowick::test {

class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path(const std::string& name) const { return (root_ / name).string(); }
    // Writes `bytes` to `name` (folders included) and returns its path.
    std::string Write(const std::string& name, const Bytes& bytes) const;

  private:
    std::filesystem::path root_;
};

struct Recorder : MessageSink {
    std::vector<std::pair<std::string, std::string>> shown;  // text, caption
    // The answer to the no-resource-map message: read the file's chunks?
    bool readChunks = false;
    void ShowMessage(const std::string& text, const std::string& caption) override {
        shown.emplace_back(text, caption);
    }
    bool ShowNoResourceMap(const std::string& text, const std::string& caption) override {
        ShowMessage(text, caption);
        return readChunks;
    }
};

// ParseIFF is large; it lives on the heap.
struct Reader {
    std::unique_ptr<ParseIFF> parse = std::make_unique<ParseIFF>();
    Recorder messages;
    Reader() { parse->SetMessageSink(&messages); }
    void Open(const std::string& path) {
        parse->CurrentFile = path;
        parse->ScanObjectFile(path);
    }
    // Every attribute group, in the order the attribute editor asks for them.
    void DecodeAll(int object) {
        for (AttributeGroup group : {ScoreGroup, ValueGroup, SkillGroup, BuyModeGroup, GuidGroup}) {
            parse->ReadObjectAttributes(object, group);
        }
    }
    const ObjectAttributeRow& Row(int object) const {
        return parse->ObjectAttributes[static_cast<std::size_t>(object)];
    }
};

}  // namespace marrowick::test
