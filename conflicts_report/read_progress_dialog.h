// The progress of a read of a collection that runs on a thread of its own (a
// GUID check, a search): how many of the files and archives found have been
// read, and Cancel, which ends the thread within a fraction of a second
// wherever it is (closing the window waits for that). The window's reader is
// never used: the job reads with one of its own.
#pragma once

#include <QProgressDialog>
#include <QStringList>
#include <QTimer>

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <thread>

#include "guid_check.h"

namespace marrowick {

// What a read is called after the paths it was given: up to three by their
// last component ("downloads, GameData"), more by their count ("5 folders").
QString CheckedPaths(const QStringList& paths);

class ReadProgressDialog : public QProgressDialog {
    Q_OBJECT
  public:
    // Called on the reading thread before each file or archive is read, with
    // its position and the cancel flag; tests hold the read there.
    using Pace = std::function<void(std::size_t done, const std::atomic<bool>& cancel)>;
    // The read itself, run on the thread: it tells `observer` how it goes and
    // stops soon after `cancel` is set.
    using Job = std::function<std::shared_ptr<const CollectionRead>(
        GuidCheckObserver& observer, const std::atomic<bool>* cancel)>;

    // Starts `job` at once and shows itself. It deletes itself once the job
    // has ended or been cancelled.
    ReadProgressDialog(const QString& title, Job job, QWidget* parent, Pace pace = {});
    // Cancels a job still running and waits for its thread.
    ~ReadProgressDialog() override;

  signals:
    // The whole collection was read; never sent after Cancel.
    void Read(std::shared_ptr<const marrowick::CollectionRead> result);

  private:
    void ShowProgress();
    void Done();

    // Shared with the reading thread: the flags and counts, and the result,
    // which is read only after the thread has been joined.
    std::atomic<bool> cancel_{false};
    std::atomic<std::size_t> total_;
    std::atomic<std::size_t> done_{0};
    std::atomic<std::size_t> found_{0};  // files found while the folders are walked
    const Pace pace_;
    std::shared_ptr<const CollectionRead> result_;
    std::thread thread_;

    QTimer timer_;
};

}  // namespace marrowick
