// Times the window's GUID check of a collection, from starting it to its report
// window shown and painted, as a user who pressed Ctrl+Shift+O waits for it:
//   window_check FOLDER [ROUNDS]
// Prints one time in milliseconds per round; the first round also pays for
// what the program's first window loads (fonts, styles), which a user's open
// main window has already done. bench/window_check_vs_cli.sh compares the
// later rounds with marrowick-inspect --conflicts on the same folder.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>
#include <memory>

#include "conflicts_window.h"
#include "guid_check_dialog.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [ROUNDS]\n", argv[0]);
        return 2;
    }
    const QStringList paths{QDir(QString::fromLocal8Bit(argv[1])).absolutePath()};
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 1;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        std::unique_ptr<marrowick::ConflictsWindow> report;
        auto* progress = new marrowick::GuidCheckDialog(paths, false, nullptr);
        QObject::connect(progress, &marrowick::GuidCheckDialog::Finished,
                         [&](std::shared_ptr<const marrowick::GuidCheck> check) {
                             report = std::make_unique<marrowick::ConflictsWindow>(paths, check);
                             report->show();
                         });
        while (!report) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        QCoreApplication::processEvents();  // laid out and painted
        std::printf("%.1f\n", static_cast<double>(clock.nsecsElapsed()) / 1e6);
        std::fflush(stdout);
    }
    return 0;
}
