#include "file_watch.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <sys/inotify.h>
#include <unistd.h>

namespace marrowick::test {

FileSnapshot FileSnapshot::Take(const QString& path) {
    FileSnapshot snapshot;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return snapshot;
    }
    snapshot.bytes = file.readAll();
    file.close();
    snapshot.ok = ::stat(QFile::encodeName(path).constData(), &snapshot.status) == 0;
    return snapshot;
}

FileWatch::FileWatch(const QString& path) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) {
        return;
    }
    const QByteArray file = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    file_ = ::inotify_add_watch(fd_, file.constData(),
                                IN_OPEN | IN_CLOSE_NOWRITE | IN_CLOSE_WRITE | IN_MODIFY |
                                    IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF);
    // A program that "saves" by writing a new file and renaming it over the old
    // one never touches the old inode; the folder sees it.
    folder_ = ::inotify_add_watch(fd_, folder.constData(),
                                  IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB |
                                      IN_MODIFY | IN_CLOSE_WRITE | IN_ONLYDIR);
}

FileWatch::~FileWatch() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

FileWatch::Events FileWatch::Collect() {
    Events events;
    alignas(struct inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;  // EAGAIN: the queue is empty
        }
        for (ssize_t at = 0; at < got;) {
            struct inotify_event event {};
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + static_cast<ssize_t>(sizeof event);
            at += static_cast<ssize_t>(sizeof event + event.len);
            if ((event.mask & IN_Q_OVERFLOW) != 0) {
                events.overflowed = true;
                continue;
            }
            if (event.wd == folder_) {
                const QString entry = event.len > 0 ? QFile::decodeName(name) : QString();
                events.folderChanges
                    << QStringLiteral("%1 (mask 0x%2)").arg(entry).arg(event.mask, 0, 16);
                continue;
            }
            if ((event.mask & IN_OPEN) != 0) {
                ++events.opens;
            }
            if ((event.mask & IN_CLOSE_NOWRITE) != 0) {
                ++events.closesWithoutWrite;
            }
            const struct {
                std::uint32_t bit;
                const char* what;
            } kWrites[] = {{IN_CLOSE_WRITE, "closed after opening for writing"},
                           {IN_MODIFY, "written"},
                           {IN_ATTRIB, "status changed"},
                           {IN_DELETE_SELF, "deleted"},
                           {IN_MOVE_SELF, "moved"}};
            for (const auto& write : kWrites) {
                if ((event.mask & write.bit) != 0) {
                    events.writes << QLatin1String(write.what);
                }
            }
        }
    }
    return events;
}

}  // namespace marrowick::test
