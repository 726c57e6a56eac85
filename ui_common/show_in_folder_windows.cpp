// Showing a file's folder on Windows: Explorer opens it with the file selected.
#include <QDir>
#include <QProcess>

#include "desktop.h"

namespace marrowick {

void QtDesktop::ShowInFolder(const QString& path) {
    // Explorer parses its own command line: "/select," and the path in quotes
    // must reach it as one piece, which QProcess's quoting of arguments breaks.
    // A Windows name never holds a quote.
    QProcess explorer;
    explorer.setProgram(QStringLiteral("explorer.exe"));
    explorer.setNativeArguments(
        QStringLiteral("/select,\"%1\"").arg(QDir::toNativeSeparators(path)));
    explorer.startDetached();
}

}  // namespace marrowick
