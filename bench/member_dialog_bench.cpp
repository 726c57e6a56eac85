// The archive member dialog with as many members as the largest archives hold:
// filling and showing it, and one keystroke in its filter, painted each time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <memory>

#include "archive_member_dialog.h"

namespace marrowick::bench {
namespace {

constexpr int kMembers = 5000;

QList<ArchiveMemberChoice> Members() {
    static const char* const kKinds[] = {"Chair", "Table", "Lamp", "Sofa", "Counter", "Plant"};
    QList<ArchiveMemberChoice> members;
    for (int i = 0; i < kMembers; ++i) {
        members.append(
            {QStringLiteral("objects/%1 %2.iff").arg(QLatin1String(kKinds[i % 6])).arg(i),
             static_cast<std::uint64_t>(20'000 + 37 * i)});
    }
    return members;
}

void Settle() {
    QCoreApplication::processEvents();  // layout and paint
}

void Fill(benchmark::State& state) {
    const QList<ArchiveMemberChoice> members = Members();
    for (auto _ : state) {
        auto dialog = std::make_unique<ArchiveMemberDialog>(QStringLiteral("objects.far"), members);
        dialog->show();
        Settle();
        state.PauseTiming();
        dialog.reset();
        Settle();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kMembers);
}

// The first keystroke narrows the whole list: the most rows filtered at once.
void Keystroke(benchmark::State& state) {
    ArchiveMemberDialog dialog(QStringLiteral("objects.far"), Members());
    dialog.show();
    Settle();
    auto* filter = dialog.findChild<QLineEdit*>(QStringLiteral("Filter"));
    for (auto _ : state) {
        state.PauseTiming();
        filter->clear();
        Settle();
        state.ResumeTiming();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
        QCoreApplication::sendEvent(filter, &press);
        Settle();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kMembers);
}

BENCHMARK(Fill)->Unit(benchmark::kMillisecond);
BENCHMARK(Keystroke)->Unit(benchmark::kMillisecond);

// The headless platform warns about every window feature it lacks.
QtMessageHandler shout = nullptr;
void Quiet(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(QLatin1String("This plugin does not support"))) {
        shout(type, context, text);
    }
}

}  // namespace
}  // namespace marrowick::bench

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    marrowick::bench::shout = qInstallMessageHandler(marrowick::bench::Quiet);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
