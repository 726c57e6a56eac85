// Showing a file's folder where the file manager is reached through the
// desktop's handler of folder addresses: the folder opens, the file unselected.
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "desktop.h"

namespace marrowick {

void QtDesktop::ShowInFolder(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

}  // namespace marrowick
