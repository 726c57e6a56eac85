// Evidence that a file was only ever read: its bytes and times before and
// after, and the kernel's record (inotify) of every open and close, which holds
// even for root, whom file permissions do not stop.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/stat.h>

namespace marrowick::test {

struct FileSnapshot {
    QByteArray bytes;
    struct stat status {};
    bool ok = false;

    // Reads the whole file and its status; a test fixture is small.
    static FileSnapshot Take(const QString& path);
};

class FileWatch {
  public:
    struct Events {
        int opens = 0;
        int closesWithoutWrite = 0;
        // Anything here means the file was opened for writing, written, had its
        // status changed, or was replaced.
        QStringList writes;
        // Entries created, removed, renamed or changed in the file's folder.
        QStringList folderChanges;
        bool overflowed = false;
    };

    // Watches `path` and the folder it is in.
    explicit FileWatch(const QString& path);
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    bool IsWatching() const { return fd_ >= 0 && file_ >= 0 && folder_ >= 0; }
    // Every event queued since the last call, read without waiting.
    Events Collect();

  private:
    int fd_ = -1;
    int file_ = -1;
    int folder_ = -1;
};

}  // namespace marrowick::test
