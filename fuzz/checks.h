// Invariant checks shared by the fuzz entries.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "messages.h"
#include "parse_iff.h"

namespace marrowick::fuzz {

// Aborts with `rule` on stderr when `holds` is false; the fuzzer then keeps the
// input as a finding.
void Require(bool holds, const char* rule);

// True when `text` is well-formed UTF-8.
bool IsUtf8(std::string_view text);

struct CountingSink : MessageSink {
    int shown = 0;
    void ShowMessage(const std::string& text, const std::string& caption) override;
};

// Writes `bytes` to the scratch file, scans it as the main window does, and
// checks the index against the rules every scan must keep.
std::unique_ptr<ParseIFF> ScanChecked(std::span<const std::uint8_t> bytes, CountingSink& sink);

}  // namespace marrowick::fuzz
