// Marrowick: open an object file of the game, list its objects, show their GUIDs.
#include <QApplication>
#include <QDirIterator>
#include <QIcon>

#include <cstdio>

#include "desktop.h"
#include "frm_main.h"
#include "marrowick_version.h"
#include "parse_iff.h"
#include "score_frm.h"

namespace {

// Without a display Qt would abort with a message about platform plugins; say
// plainly what is missing instead. QT_QPA_PLATFORM names another way to run.
bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
    if (!HasDisplay()) {
        std::fputs("marrowick needs a graphical display; none was found (DISPLAY is not set).\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marrowick"));
    QApplication::setApplicationVersion(QString::fromLatin1(marrowick::kVersion));
    // Ties the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(marrowick::kAppId));
    QIcon icon;
    for (QDirIterator sizes(QStringLiteral(":/icon")); sizes.hasNext();) {
        icon.addFile(sizes.next());
    }
    QApplication::setWindowIcon(icon);

    marrowick::ParseIFF parse;
    marrowick::QtDesktop desktop;
    marrowick::ScoreFrm editor(parse, desktop);
    marrowick::FrmMain window(parse, editor, desktop);
    window.show();
    return QApplication::exec();
}
