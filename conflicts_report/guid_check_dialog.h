// The progress of a GUID check that runs on a thread of its own: how many of
// the files and archives found have been read, and Cancel, which ends the
// check's thread within a fraction of a second wherever it is (closing the
// window waits for that). The window's reader is never used: the check reads
// with one of its own.
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

// What a check is called after the paths it was given: up to three by their
// last component ("downloads, GameData"), more by their count ("5 folders").
QString CheckedPaths(const QStringList& paths);
// The report's title: "GUID Conflicts – downloads, GameData", and "(read by
// chunks)" after it for a check that read files without a map so.
QString CheckTitle(const QStringList& paths, bool readByChunks = false);

class GuidCheckDialog final : public QProgressDialog {
    Q_OBJECT
  public:
    // Called on the checking thread before each file or archive is read, with
    // its position and the cancel flag; tests hold the check there.
    using Pace = std::function<void(std::size_t done, const std::atomic<bool>& cancel)>;

    // Starts checking `paths` (absolute) at once and shows itself. It deletes
    // itself once the check has ended or been cancelled.
    GuidCheckDialog(const QStringList& paths, bool readChunks, QWidget* parent, Pace pace = {});
    // Cancels a check still running and waits for its thread.
    ~GuidCheckDialog() override;

  signals:
    // The whole collection was read; never sent after Cancel.
    void Finished(std::shared_ptr<const GuidCheck> check);

  private:
    void ShowProgress();
    void Done();

    // Shared with the checking thread: the flags and counts, and the result,
    // which is read only after the thread has been joined.
    std::atomic<bool> cancel_{false};
    std::atomic<std::size_t> total_;
    std::atomic<std::size_t> done_{0};
    std::atomic<std::size_t> found_{0};  // files found while the folders are walked
    const Pace pace_;
    std::unique_ptr<GuidCheck> result_;
    std::thread thread_;

    QTimer timer_;
};

}  // namespace marrowick
