#include "read_progress_dialog.h"

#include <QFileInfo>

#include <algorithm>
#include <climits>

namespace marrowick {
namespace {

constexpr std::size_t kNotWalked = SIZE_MAX;

int Clipped(std::size_t count) {
    return static_cast<int>(std::min<std::size_t>(count, INT_MAX));
}

// Runs on the reading thread: it only stores counts for the dialog's timer.
class Counter final : public GuidCheckObserver {
  public:
    Counter(std::atomic<std::size_t>& found, std::atomic<std::size_t>& total,
            std::atomic<std::size_t>& done, const ReadProgressDialog::Pace& pace,
            const std::atomic<bool>& cancel)
        : found_(found), total_(total), done_(done), pace_(pace), cancel_(cancel) {}
    void Found(std::size_t found) override { found_.store(found); }
    void Walked(std::size_t paths) override { total_.store(paths); }
    void Reading(std::size_t done, const ObjectFileItem&) override {
        done_.store(done);
        if (pace_) {
            pace_(done, cancel_);
        }
    }

  private:
    std::atomic<std::size_t>& found_;
    std::atomic<std::size_t>& total_;
    std::atomic<std::size_t>& done_;
    const ReadProgressDialog::Pace& pace_;
    const std::atomic<bool>& cancel_;
};

}  // namespace

QString CheckedPaths(const QStringList& paths) {
    if (paths.size() > 3) {
        const auto folders = std::count_if(paths.begin(), paths.end(), [](const QString& path) {
            return QFileInfo(path).isDir();
        });
        return folders == paths.size() ? ReadProgressDialog::tr("%1 folders").arg(paths.size())
               : folders == 0          ? ReadProgressDialog::tr("%1 files").arg(paths.size())
                              : ReadProgressDialog::tr("%1 files and folders").arg(paths.size());
    }
    QStringList names;
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).fileName();
        names << (name.isEmpty() ? path : name);  // a root has no last component
    }
    return names.join(QStringLiteral(", "));
}

ReadProgressDialog::ReadProgressDialog(const QString& title, Job job, QWidget* parent, Pace pace)
    : QProgressDialog(parent), total_(kNotWalked), pace_(std::move(pace)) {
    setWindowTitle(title);
    setLabelText(tr("Looking for object files\u2026"));
    setRange(0, 0);  // a busy indicator until the folders have been walked
    setAutoReset(false);
    setAutoClose(false);
    connect(this, &QProgressDialog::canceled, this, [this] {
        cancel_.store(true);
        timer_.stop();
    });
    timer_.callOnTimeout(this, &ReadProgressDialog::ShowProgress);
    timer_.start(50);

    thread_ = std::thread([this, job = std::move(job)] {
        Counter counter(found_, total_, done_, pace_, cancel_);
        result_ = job(counter, &cancel_);
        QMetaObject::invokeMethod(this, &ReadProgressDialog::Done, Qt::QueuedConnection);
    });
    show();
}

ReadProgressDialog::~ReadProgressDialog() {
    cancel_.store(true);
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ReadProgressDialog::ShowProgress() {
    const std::size_t total = total_.load();
    if (total == kNotWalked) {
        if (const std::size_t found = found_.load(); found > 0) {
            setLabelText(tr("Looking for object files\u2026 %1 found").arg(found));
        }
        return;
    }
    const std::size_t done = done_.load();
    setMaximum(Clipped(total));
    setValue(Clipped(done));
    setLabelText(tr("Read %1 of %2 files and archives").arg(done).arg(total));
}

void ReadProgressDialog::Done() {
    thread_.join();  // also makes the result safe to read here
    timer_.stop();
    hide();
    if (!cancel_.load() && result_ && !result_->cancelled) {
        emit Read(std::move(result_));
    }
    deleteLater();
}

}  // namespace marrowick
