// The one-line progress display of a long run, on a terminal only.
#pragma once

#include <chrono>
#include <ostream>
#include <string_view>

namespace marrowick::inspect {

class Progress {
  public:
    // `enabled` is whether stderr is a terminal; nothing is written otherwise.
    Progress(std::ostream& err, bool enabled);
    ~Progress() { Clear(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Called as folders are walked, with the count of files found so far.
    void Found(std::size_t found);
    // The walk is over: `total` files are to be read.
    void Walked(std::size_t total) { total_ = total; }
    // Called before file `done` (0-based) is read; `current` names it (UTF-8
    // safe to show on a terminal).
    void Step(std::size_t done, std::string_view current);
    // Writes a line of its own (an error), keeping the display below it.
    void Message(const std::string& text);
    void Clear();

  private:
    // Whether a line is due: not in the first moments, nor too soon after the last.
    bool Due();

    std::ostream& err_;
    bool enabled_;
    std::size_t total_ = 0;
    bool shown_ = false;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDraw_;
};

}  // namespace marrowick::inspect
