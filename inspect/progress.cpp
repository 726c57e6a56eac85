#include "progress.h"

#include <algorithm>
#include <string>

#include "console.h"

namespace marrowick::inspect {
namespace {

// A run shorter than this shows no progress at all; redraws are spaced so that
// drawing never costs more than the work it reports.
constexpr auto kQuietStart = std::chrono::milliseconds(500);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr const char* kEraseLine = "\r\033[K";

bool StartsCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

// How many characters UTF-8 text holds.
std::size_t Characters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), StartsCharacter));
}

// The last `count` characters of UTF-8 text.
std::string_view LastCharacters(std::string_view text, std::size_t count) {
    std::size_t at = text.size();
    for (; at > 0 && count > 0; --at) {
        if (StartsCharacter(text[at - 1])) {
            --count;
        }
    }
    return text.substr(at);
}

}  // namespace

Progress::Progress(std::ostream& err, bool enabled)
    : err_(err), enabled_(enabled), start_(std::chrono::steady_clock::now()) {}

bool Progress::Due() {
    if (!enabled_) {
        return false;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < kQuietStart || (shown_ && now - lastDraw_ < kRedrawEvery)) {
        return false;
    }
    lastDraw_ = now;
    shown_ = true;
    return true;
}

void Progress::Found(std::size_t found) {
    if (Due()) {
        err_ << kEraseLine << "Looking for object files: " << found << " found" << std::flush;
    }
}

void Progress::Step(std::size_t done, std::string_view current) {
    if (!Due()) {
        return;
    }
    const std::string count = std::to_string(done) + " of " + std::to_string(total_) + " files  ";
    // Keep the end of the path, which names the file, when the line is too long.
    const auto room = static_cast<std::size_t>(
        std::max(console::ErrorColumns() - 1 - static_cast<int>(count.size()), 0));
    err_ << kEraseLine << count;
    if (Characters(current) <= room) {
        err_ << current;
    } else if (room > 3) {
        err_ << "..." << LastCharacters(current, room - 3);
    }
    err_ << std::flush;
}

void Progress::Message(const std::string& text) {
    Clear();
    err_ << text << '\n' << std::flush;
}

void Progress::Clear() {
    if (shown_) {
        err_ << kEraseLine << std::flush;
        shown_ = false;
    }
}

}  // namespace marrowick::inspect
