// The folder's record from inotify; it holds for root too.
#include <sys/inotify.h>
#include <unistd.h>

#include <QFile>

#include <cstdint>
#include <cstring>

#include "folder_watch.h"

namespace marrowick::test {

int StartFolderWatch(const QString& folder) {
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd >= 0 && inotify_add_watch(fd, QFile::encodeName(folder).constData(),
                                     IN_ALL_EVENTS & ~IN_ACCESS) < 0) {
        close(fd);
        return -1;
    }
    return fd;
}

QString StopFolderWatch(int watch) {
    int reads = 0;
    QString others;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t got = 0; (got = read(watch, buffer, sizeof buffer)) > 0;) {
        for (const char* at = buffer; at < buffer + got;) {
            inotify_event event{};
            std::memcpy(&event, at, sizeof event);
            at += sizeof event + event.len;
            reads += (event.mask & IN_CLOSE_NOWRITE) != 0 ? 1 : 0;
            const auto other = event.mask & ~std::uint32_t{IN_OPEN | IN_CLOSE_NOWRITE | IN_ISDIR};
            others +=
                other != 0 ? QStringLiteral(", event 0x") + QString::number(other, 16) : QString();
        }
    }
    close(watch);
    return QStringLiteral("%1 reads%2").arg(reads).arg(others);
}

}  // namespace marrowick::test
