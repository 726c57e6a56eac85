#include "progress.h"

#include <algorithm>

#include <sys/ioctl.h>
#include <unistd.h>

namespace marrowick::inspect {
namespace {

// A run shorter than this shows no progress at all; redraws are spaced so that
// drawing never costs more than the work it reports.
constexpr auto kQuietStart = std::chrono::milliseconds(500);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr const char* kEraseLine = "\r\033[K";

int TerminalColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    return 80;
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

void Progress::Step(std::size_t done, const QString& current) {
    if (!Due()) {
        return;
    }
    const QString count = QStringLiteral("%1 of %2 files  ").arg(done).arg(total_);
    // Keep the end of the path, which names the file, when the line is too long.
    const qsizetype room = std::max<qsizetype>(TerminalColumns() - 1 - count.size(), 0);
    QString path = current;
    if (path.size() > room) {
        path = room > 3 ? QStringLiteral("...") + path.right(room - 3) : QString();
    }
    err_ << kEraseLine << (count + path).toStdString() << std::flush;
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
