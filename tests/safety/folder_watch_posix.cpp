// The folder's record from inotify; it holds for root too.
#include <sys/inotify.h>
#include <unistd.h>

#include <QFile>

#include <cstdint>
#include <cstring>

#include "folder_watch.h"

namespace marrowick::test {
namespace {

class Inotify final : public FolderWatch {
  public:
    explicit Inotify(int fd) : fd_(fd) {}
    ~Inotify() override { close(fd_); }
    Inotify(const Inotify&) = delete;
    Inotify& operator=(const Inotify&) = delete;

    QString Events() override {
        int reads = 0;
        QString others;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t got = 0; (got = read(fd_, buffer, sizeof buffer)) > 0;) {
            for (const char* at = buffer; at < buffer + got;) {
                inotify_event event{};
                std::memcpy(&event, at, sizeof event);
                at += sizeof event + event.len;
                reads += (event.mask & IN_CLOSE_NOWRITE) != 0 ? 1 : 0;
                const auto other =
                    event.mask & ~std::uint32_t{IN_OPEN | IN_CLOSE_NOWRITE | IN_ISDIR};
                others += other != 0 ? QStringLiteral(", event 0x") + QString::number(other, 16)
                                     : QString();
            }
        }
        return QStringLiteral("%1 reads%2").arg(reads).arg(others);
    }

  private:
    int fd_;
};

}  // namespace

std::unique_ptr<FolderWatch> StartFolderWatch(const QString& folder) {
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    auto watch = std::make_unique<Inotify>(fd);
    if (fd < 0 || inotify_add_watch(fd, QFile::encodeName(folder).constData(),
                                    IN_ALL_EVENTS & ~IN_ACCESS) < 0) {
        return nullptr;
    }
    return watch;
}

}  // namespace marrowick::test
