// How the reader reaches the user: the windows show a message box, the
// command-line tool prints or records the text.
#pragma once

#include <cstdint>
#include <string>

namespace marrowick {

inline constexpr const char* kAppTitle = "Marrowick";

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // `text` and `caption` are UTF-8.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;

    // The message for a file whose resource map cannot be used: it has none, or
    // the file is cut short before the map could be read. Where the user may
    // answer it by asking to read the file chunk by chunk instead, this returns
    // true for that answer; by default the message is only shown.
    virtual bool ShowNoResourceMap(const std::string& text, const std::string& caption) {
        ShowMessage(text, caption);
        return false;
    }
};

// Keeps the first message only: for callers that report a file's failure as one
// line of text instead of showing it. With `readChunks`, a file whose resource
// map cannot be used is read by its chunks instead of being reported.
class FirstMessage : public MessageSink {
  public:
    explicit FirstMessage(bool readChunks = false) : readChunks_(readChunks) {}
    void ShowMessage(const std::string& text, const std::string&) override {
        if (first.empty()) {
            first = text;
        }
    }
    bool ShowNoResourceMap(const std::string& text, const std::string& caption) override {
        return readChunks_ || MessageSink::ShowNoResourceMap(text, caption);
    }
    std::string first;

  private:
    bool readChunks_;
};

// The messages the reader shows, word for word.
inline constexpr const char* kNotValidIff = "Not a Valid IFF";
inline constexpr const char* kNoResourceMap =
    "Future versions will support objects\r\nwithout a Resource Map, however\r\nthis version "
    "requires one.";
inline constexpr const char* kNoResourceMapCaption = "No Resource Map!";

// The messages for a download cut short before its resource map could be read:
// the file ends at byte `end` inside its 64-byte header, before its map at byte
// `map`, or inside the map's 8-byte header. Read Chunks is offered for them as
// for a file without a map.
std::string CutInHeaderMessage(std::uint64_t end);
std::string CutBeforeMapMessage(std::uint64_t map, std::uint64_t end);
std::string CutInMapHeaderMessage(std::uint64_t map, std::uint64_t end);

// Whether `message`, the first one a scan reported, says that the file's resource
// map cannot be used: a file that Read Chunks can still read.
bool MapCannotBeUsed(const std::string& message);

// The message for a path that cannot be read, naming it.
std::string CannotOpenMessage(const std::string& path, const std::string& reason);

}  // namespace marrowick
