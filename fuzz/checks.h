// Invariant checks shared by the fuzz entries.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "messages.h"
#include "parse_iff.h"

namespace marrowick::fuzz {

// Aborts with `rule` on stderr when `holds` is false; the fuzzer then keeps the
// input as a finding.
void Require(bool holds, const char* rule);

// True when `text` is well-formed UTF-8.
bool IsUtf8(std::string_view text);

// Counts what the reader shows. With `readChunks` it answers the no-map message
// by asking for the chunk walk, as a user may; otherwise it only shows it.
class CountingSink : public MessageSink {
  public:
    explicit CountingSink(bool readChunks) : readChunks_(readChunks) {}
    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool ShowNoResourceMap(const std::string& text, const std::string& caption) override;

    int shown = 0;
    int noMapAsked = 0;
    std::string first;  // the first text shown

  private:
    bool readChunks_;
};

// One scan of the input and the sink it reported to.
struct Scan {
    explicit Scan(bool readChunks) : sink(readChunks) {}
    CountingSink sink;
    ParseIFF parse;
};

// The input scanned both ways a user can answer the no-map message: as designed
// (refused) and walked.
struct BothScans {
    Scan designed{false};
    Scan walked{true};
};

// Writes `bytes` to the scratch file, scans it both ways as the main window
// does, and checks each index against the rules every scan must keep and the two
// against each other.
std::unique_ptr<BothScans> ScanBothWays(std::span<const std::uint8_t> bytes);

}  // namespace marrowick::fuzz
