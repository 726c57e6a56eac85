// Marrowick: open an object file of the game, list its objects, show their GUIDs.
#include <QApplication>
#include <QDirIterator>
#include <QIcon>

#include <cstdio>

#include "desktop.h"
#include "display.h"
#include "frm_main.h"
#include "marrowick_version.h"
#include "parse_iff.h"
#include "score_frm.h"

namespace {

// An option of this program's own, for checking that an installation starts:
// the main window is shown, then the program ends with status 0 at once.
constexpr QLatin1StringView kQuitWhenShown("--quit-when-shown");

}  // namespace

int main(int argc, char** argv) {
    if (!marrowick::HasDisplay()) {
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
    if (QApplication::arguments().contains(kQuitWhenShown)) {
        // Queued behind the events that showing posted.
        QMetaObject::invokeMethod(
            &app, [&window] { QApplication::exit(window.isVisible() ? 0 : 1); },
            Qt::QueuedConnection);
    }
    return QApplication::exec();
}
