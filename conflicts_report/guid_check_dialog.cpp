#include "guid_check_dialog.h"

#include "file_name_text.h"

namespace marrowick {

QString CheckTitle(const QStringList& paths, bool readByChunks) {
    const QString title = GuidCheckDialog::tr("GUID Conflicts \u2013 %1").arg(CheckedPaths(paths));
    return readByChunks ? GuidCheckDialog::tr("%1 (read by chunks)").arg(title) : title;
}

namespace {

ReadProgressDialog::Job CheckJob(const QStringList& paths, bool readChunks) {
    std::vector<std::string> names;
    for (const QString& path : paths) {
        names.push_back(EncodeFileName(path));
    }
    return [names = std::move(names), readChunks](GuidCheckObserver& observer,
                                                  const std::atomic<bool>* cancel) {
        return std::make_shared<const GuidCheck>(CheckGuids(names, readChunks, observer, cancel));
    };
}

}  // namespace

GuidCheckDialog::GuidCheckDialog(const QStringList& paths, bool readChunks, QWidget* parent,
                                 Pace pace)
    : ReadProgressDialog(tr("Checking GUIDs \u2013 %1").arg(CheckedPaths(paths)),
                         CheckJob(paths, readChunks), parent, std::move(pace)) {
    connect(this, &ReadProgressDialog::Read, this,
            [this](std::shared_ptr<const CollectionRead> read) {
                emit Finished(std::static_pointer_cast<const GuidCheck>(std::move(read)));
            });
}

}  // namespace marrowick
