// The window's GUID check: how it starts, its thread, progress and Cancel, and
// the report window against what marrowick-inspect says of the same folder.
#include <QStackedWidget>

#include <sstream>

#include "conflicts_window.h"
#include "file_name_text.h"
#include "find_dialog.h"
#include "find_window.h"
#include "gui_harness.h"
#include "guid_check_dialog.h"
#include "run.h"

namespace marrowick::test {
namespace {

// Folder c: each kind of shared GUID: a loose lamp taking the GUID of an
// archived lamp's tile (0x22), two sofas that clash (0x33, ids 128 and 64), two
// versions of an armchair (0x44) and copies of one file (0xE7EA4328); an object
// with no GUID, a broken file and a map-less one whose shelf joins the sofas
// once read.
QString Collection(const Harness& h) {
    const Bytes chair = TypicalObjectFile("Chair", 128, 1, 0xE7EA4328, 0);
    ArchiveBuilder game;
    game.Member("objects/Lamp.IFF", TypicalObjectFile("Old lamp", 200, 1, 0x21, 1));
    IffBuilder shelf;
    shelf.Object(128, "Shelf", {.guid = 0x33});
    shelf.OmitMap();
    const std::pair<QString, Bytes> files[] = {
        {u"one/chair.iff"_s, chair},
        {u"two/Chair copy.IFF"_s, chair},
        {u"sofa.iff"_s, TypicalObjectFile("Sofa", 128, 1, 0x33, 0)},
        {u"two/sofa.iff"_s, TypicalObjectFile("Sofa B", 64, 1, 0x33, 0)},
        {u"two/lamp.iff"_s, TypicalObjectFile("Lamp", 128, 1, 0x22, 1)},
        {u"one/armchair.iff"_s, TypicalObjectFile("Armchair", 128, 1, 0x44, 0)},
        {u"two/armchair.iff"_s, TypicalObjectFile("Armchair", 128, 1, 0x44, 1)},
        {u"ghost.iff"_s, TypicalObjectFile("Ghost", 128, 1, 0, 0)},
        {u"game.far"_s, game.Build()},
        {u"broken.iff"_s, ToBytes("IFF")},
        {u"nomap.iff"_s, shelf.Build()}};
    for (const auto& [name, bytes] : files) {
        h.Write(u"c/"_s + name, bytes);
    }
    return h.dir.filePath(u"c"_s);
}

QString Inspect(const QStringList& arguments) {
    std::vector<std::string> command{"marrowick-inspect"};
    if (!arguments.contains(u"--find"_s)) {
        command.push_back("--conflicts");
    }
    for (const QString& argument : arguments) {
        command.push_back(EncodeFileName(argument));
    }
    std::ostringstream out, err;
    inspect::RunInspect(command, out, err, false);
    return QString::fromStdString(out.str());
}

QList<ConflictsWindow*> Reports() {
    QList<ConflictsWindow*> reports;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* report = qobject_cast<ConflictsWindow*>(widget); report && report->isVisible()) {
            reports << report;
        }
    }
    return reports;
}

QTreeWidget* View(const ConflictsWindow* report) {
    return report->findChild<QTreeWidget*>(u"Report"_s);
}

// Right-clicks `row`, chooses `entry` in its menu and gives the menu's entries.
QString Menu(QTreeWidget* view, const QTreeWidgetItem* row, const QString& entry) {
    const QPoint at = view->visualItemRect(row).center();
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, at);  // selects the row
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &click);  // as the window system sends it
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QStringList entries;
    for (QAction* action : menu->actions()) {
        entries << action->text();
        if (action->text() == entry) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        }
    }
    return entries.join(u'|');
}

// Each group in view: its value, kind and objects as "file member label id".
QStringList Groups(const ConflictsWindow* report) {
    QStringList groups;
    for (int g = 0; g < View(report)->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* group = View(report)->topLevelItem(g);
        QString text = group->text(0);
        if (group->isHidden() || !text.startsWith(u"GUID"_s)) {
            continue;
        }
        // "GUID 2200 0000 · 0x00000022 — different objects, 2 objects"
        text = text.section(u' ', 4, 4) + u' ' + text.section(u" \u2014 "_s, 1).section(u',', 0, 0);
        for (int o = 0; o < group->childCount(); ++o) {
            const QTreeWidgetItem* row = group->child(o);
            text += u"; %1 %2 %3 %4"_s.arg(row->text(0), row->text(1), row->text(2), row->text(3));
        }
        groups << text;
    }
    return groups;
}

// The same from marrowick-inspect's JSON.
QStringList CliGroups(const QJsonObject& cli, qsizetype above) {
    QStringList groups;
    for (const QJsonValue& value : cli[u"shared_guids"_s].toArray()) {
        const QJsonObject group = value.toObject();
        QString text = group[u"value"_s].toString() + u' ';
        for (const auto kind :
             {SharedGuidKind::DifferentObjects, SharedGuidKind::LooseTakesArchived,
              SharedGuidKind::Versions, SharedGuidKind::Copies}) {
            if (group[u"kind"_s].toString().toStdString() == KindId(kind)) {
                text += QString::fromUtf8(KindName(kind));
            }
        }
        for (const QJsonValue& object : group[u"objects"_s].toArray()) {
            const QJsonObject o = object.toObject();
            text += u"; %1 %2 %3 %4"_s
                        .arg(o[u"file"_s].toString().mid(above), o[u"member"_s].toString(),
                             o[u"list_text"_s].toString().section(u"  "_s, 0, 0))
                        .arg(o[u"chunk_id"_s].toInt());
        }
        groups << text;
    }
    return groups;
}

// What the filter leaves in view: the groups' values, then the sections'
// files (and reasons), a section after "|".
QString InView(const ConflictsWindow* report) {
    QStringList shown;
    const auto add = [&shown](auto& self, const QTreeWidgetItem* row) -> void {
        if (row->isHidden()) {
            return;
        }
        const QString text = row->text(0);
        if (row->data(0, Qt::ToolTipRole).isValid()) {  // a file
            shown << QFileInfo(text.section(u':', 0, 0)).fileName();
        } else if (row->parent()) {
            shown << text;  // a reason
        } else if (text.startsWith(u"GUID"_s)) {
            shown << text.section(u' ', 4, 4);
            return;  // shown whole
        } else {
            shown << u"|"_s;
        }
        for (int c = 0; c < row->childCount(); ++c) {
            self(self, row->child(c));
        }
    };
    for (int g = 0; g < View(report)->topLevelItemCount(); ++g) {
        add(add, View(report)->topLevelItem(g));
    }
    return shown.join(u' ');
}

FindWindow* Results() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* results = qobject_cast<FindWindow*>(widget); results && results->isVisible()) {
            return results;
        }
    }
    return nullptr;
}

// Each row of a results list, its columns joined by '|'.
QStringList Rows(const QTreeWidget* view) {
    QStringList rows;
    for (int r = 0; r < view->topLevelItemCount(); ++r) {
        QStringList texts;
        for (int c = 0; c < view->columnCount(); ++c) {
            texts << view->topLevelItem(r)->text(c);
        }
        rows << texts.join(u'|');
    }
    return rows;
}

}  // namespace

class CheckTests : public QObject {
    Q_OBJECT

  private slots:
    void init() { QTest::failOnWarning(QRegularExpression(u"^(?!This plugin does not)"_s)); }
    void starts_data();
    void starts();
    void progressAndStop();
    void report();
    void madeFromACheck();
    void findObjects();
    void findDialog();
};

void CheckTests::starts_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("title");  // of the report; empty: the file opened instead
    QTest::newRow("shortcut") << u"keys"_s << u"GUID Conflicts – c"_s;
    QTest::newRow("menu") << u"menu"_s << u"GUID Conflicts – c"_s;
    QTest::newRow("dropped folder") << u"c"_s << u"GUID Conflicts – c"_s;
    QTest::newRow("several files") << u"c/sofa.iff c/two"_s << u"GUID Conflicts – sofa.iff, two"_s;
    QTest::newRow("four") << u"c/sofa.iff c/two c/one c/ghost.iff"_s
                          << u"GUID Conflicts – 4 files and folders"_s;
    QTest::newRow("one file") << u"c/sofa.iff"_s << QString();
}
void CheckTests::starts() {
    QFETCH(QString, how);
    Harness h;
    h.answer = Collection(h);
    auto* action = h.window.findChild<QAction*>(u"CheckFolderAction"_s);
    QVERIFY(h.window.actions().contains(action));
    QCOMPARE(action->text() + u' ' + action->shortcut().toString(),
             u"Check a Folder for GUID Conflicts… Ctrl+Shift+O"_s);
    if (how == u"keys"_s) {
        QApplication::setActiveWindow(&h.window);
        QVERIFY(QTest::qWaitForWindowActive(&h.window));
        QTest::keyClick(&h.window, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    } else if (how == u"menu"_s) {
        action->trigger();
    } else {
        QList<QUrl> urls;
        for (const QString& path : how.split(u' ')) {
            urls << QUrl::fromLocalFile(h.dir.filePath(path));
        }
        QVERIFY(h.Drop(urls));
    }
    QFETCH(QString, title);
    if (title.isEmpty()) {
        QCOMPARE(h.Entries(), QStringList{u"Sofa  128"_s});
        QVERIFY(!h.window.findChild<GuidCheckDialog*>());
        return;
    }
    QTRY_COMPARE(Reports().size(), 1);
    QCOMPARE(Reports()[0]->windowTitle(), title);
}

// Cancel at once: whenever the check ends, no report comes, and the window's
// file and list stay as they were. Held at a file until cancelled: the dialog
// counts the files read out of all found, Cancel reads no further file, and
// closing the window stops a check.
void CheckTests::progressAndStop() {
    Harness h;
    const QStringList folder{Collection(h)};
    const QString lamp = folder[0] + u"/two/lamp.iff"_s;
    h.Open(lamp);
    h.ClickEntry(1);
    QVERIFY(h.Drop({QUrl::fromLocalFile(folder[0])}));
    QPointer<GuidCheckDialog> progress = h.window.findChild<GuidCheckDialog*>();
    Harness::Click(progress->findChild<QPushButton*>());
    QTRY_VERIFY(!progress);
    QCOMPARE(Reports().size(), 0);
    QCOMPARE(h.Entries().join(u'|') + QString::number(h.window.CurrentObject()),
             u"Lamp  128|Lamp - tile 1  1291"_s);
    QCOMPARE(h.window.CurrentFile(), QDir::toNativeSeparators(lamp));

    std::atomic<int> reads = 0;
    const auto holdAt = [&reads](std::size_t at) {
        return [&reads, at](std::size_t done, const std::atomic<bool>& cancel) {
            ++reads;
            while (done == at && !cancel.load()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        };
    };
    progress = new GuidCheckDialog(folder, false, &h.window, holdAt(2));
    QCOMPARE(progress->windowTitle(), u"Checking GUIDs – c"_s);
    QSignalSpy finished(progress.data(), &GuidCheckDialog::Finished);
    QCOMPARE(progress->maximum(), 0);  // busy until the folder has been walked
    QTRY_COMPARE(progress->value(), 2);
    QCOMPARE(progress->labelText() + QString::number(progress->maximum()),
             u"Read 2 of 11 files and archives11"_s);
    Harness::Click(progress->findChild<QPushButton*>());
    QTRY_VERIFY(!progress);
    QCOMPARE(reads.load(), 3);
    QCOMPARE(finished.size(), 0);

    reads = 0;
    progress = new GuidCheckDialog(folder, false, &h.window, holdAt(1));
    QTRY_COMPARE(reads.load(), 2);
    h.window.close();
    QVERIFY(!progress);
    QCOMPARE(reads.load(), 2);
    QCOMPARE(h.ends, 1);
}

// Groups, counts and text against marrowick-inspect on the folder alone, a file
// in it dropped with it being read once; the filter; copying; a double-click
// opens the object's file or member; Read Chunks checks again. Then a row's
// menu copies and shows what the row names; the details and tooltips name
// files in full; a sort keeps the groups in place; Save Report writes the CLI's
// bytes, never over an object file; Escape closes.
void CheckTests::report() {
    Harness h;
    const QString folder = Collection(h);
    QVERIFY(h.Drop(
        {QUrl::fromLocalFile(folder + u'/'), QUrl::fromLocalFile(folder + u"/two/sofa.iff"_s)}));
    QTRY_COMPARE(Reports().size(), 1);
    ConflictsWindow* report = Reports()[0];
    QApplication::setActiveWindow(report);
    QVERIFY(QTest::qWaitForWindowActive(report));
    QCOMPARE(report->focusWidget(), View(report));
    // The CLI given the folder as the window names it, with the system's separators.
    const QString given = QDir::toNativeSeparators(folder);
    const QJsonObject cli =
        QJsonDocument::fromJson(Inspect({u"--json"_s, given}).toUtf8()).object();
    QCOMPARE(Groups(report), CliGroups(cli, h.dir.path().size() + 1));
    QString counts;
    for (const char* key : {"files", "archives", "objects", "conflicts", "versions", "copies"}) {
        counts += QString::number(cli[QLatin1String(key)].toInt()) + u' ';
    }
    QCOMPARE(report->findChild<QLabel*>(u"Summary"_s)->text().remove(QRegularExpression(u"\\D"_s)),
             counts.remove(u' ') + QString::number(cli[u"no_guid"_s].toArray().size()) +
                 QString::number(cli[u"file_errors"_s].toArray().size()));

    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString table = Inspect({given});
    QTest::keyClick(View(report), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), table);
    // Ranked: the true clashes, the versions, the copies; then the sections,
    // their files by reason; the filter narrows each, a GUID in any form.
    auto* filter = report->findChild<QLineEdit*>(u"Filter"_s);
    const QString all =
        u"0x00000022 0x00000033 0x00000044 0xE7EA4328 | ghost.iff | "
        u"Not an object file: 1 file. broken.iff No resource map: 1 file. Read "
        u"Chunks reads it by its chunks. nomap.iff"_s;
    for (const auto& [typed, left] : {std::pair{u""_s, all},
                                      {u"2200 0000"_s, u"0x00000022"_s},
                                      {u"00000022"_s, u"0x00000022"_s},
                                      {u"lamp"_s, u"0x00000022"_s},
                                      {u"TWO/ARM"_s, u"0x00000044"_s},
                                      {u"0000 0000"_s, u"| ghost.iff"_s},
                                      {u"nomap"_s,
                                       u"| No resource map: 1 file. Read "
                                       u"Chunks reads it by its chunks. "
                                       u"nomap.iff"_s}}) {
        filter->setText(typed);
        QCOMPARE(InView(report), left);
    }
    filter->setFocus();
    filter->selectAll();
    QTest::keyClick(filter, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), u"nomap"_s);
    filter->deselect();
    clipboard->clear();
    QTest::keyClick(filter, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), table);
    clipboard->clear();
    Harness::Click(report->findChild<QPushButton*>(u"CopyReport"_s));
    QCOMPARE(clipboard->text(), table);

    filter->clear();
    const QTreeWidgetItem* lamps = View(report)->topLevelItem(0);
    for (int row : {0, 1}) {
        const QPoint at = View(report)->visualItemRect(lamps->child(row)).center();
        QTest::mouseClick(View(report)->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(View(report)->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(h.Shown(u"Label1"_s) + QString::number(h.window.CurrentObject()),
                 row == 0 ? u"objects/Lamp.IFF1"_s : u"lamp.iff0"_s);
    }
    QCOMPARE(h.window.CurrentFile(), QDir::toNativeSeparators(folder + u"/two/lamp.iff"_s));
    Harness::Click(report->findChild<QPushButton*>(u"ReadChunks"_s));
    QTRY_COMPARE(Reports().size(), 2);
    ConflictsWindow* again = Reports()[Reports()[0] == report ? 1 : 0];
    QVERIFY(!again->findChild<QPushButton*>(u"ReadChunks"_s)->isVisible());
    QCOMPARE(again->windowTitle(), u"GUID Conflicts – c, sofa.iff (read by chunks)"_s);
    QCOMPARE(again->ReportText(), Inspect({u"--walk-chunks"_s, given}));
    QVERIFY(Groups(again)[1].contains(QDir::toNativeSeparators(u"; c/nomap.iff  Shelf 128;"_s)));
    QCOMPARE(h.shown, QStringList());

    QTreeWidget* view = View(report);
    const QTreeWidgetItem* lamp = view->topLevelItem(0)->child(0);  // game.far's
    const QString far = QDir::toNativeSeparators(folder + u"/game.far"_s);
    QCOMPARE(lamp->toolTip(0), far + u"\nMember: objects/Lamp.IFF"_s);
    QStringList copied;
    for (const QString& entry : {u"Copy GUID"_s, u"Copy GUID Value"_s, u"Copy Path"_s}) {
        Menu(view, lamp, entry);
        copied << QGuiApplication::clipboard()->text();
    }
    QCOMPARE(copied, (QStringList{u"2200 0000"_s, u"0x00000022"_s, far}));
    QCOMPARE(Menu(view, lamp, u"Open"_s),
             u"Copy GUID|Copy GUID Value|Copy Path|Show in Folder|Open"_s);
    QCOMPARE(h.Shown(u"Label1"_s), u"objects/Lamp.IFF"_s);
    QTreeWidgetItem* broken = view->topLevelItem(view->topLevelItemCount() - 1)->child(0)->child(0);
    QCOMPARE(Menu(view, broken, u"Show in Folder"_s), u"Copy Path|Show in Folder"_s);
    const QString brokenPath = QDir::toNativeSeparators(folder + u"/broken.iff"_s);
    QCOMPARE(h.addresses, QStringList{u"folder "_s + brokenPath});
    auto* details = report->findChild<QLabel*>(u"Details"_s);
    QCOMPARE(details->text(), brokenPath + u'\n' + QLatin1String(kNotValidIff));

    // Sorted by Id either way: the sofas (0x33, second) turn round, by number.
    const auto sofas = [view] {
        const QTreeWidgetItem* group = view->topLevelItem(1);
        return group->text(0).section(u' ', 4, 4) + u' ' + group->child(0)->text(3) + u' ' +
               group->child(1)->text(3) + u' ' + view->topLevelItem(5)->text(0).left(5);
    };
    for (const QString& ids : {u"128 64"_s, u"64 128"_s, u"128 64"_s}) {  // then each click
        QCOMPARE(sofas(), u"0x00000033 %1 Files"_s.arg(ids));
        QTest::mouseClick(view->header()->viewport(), Qt::LeftButton, {},
                          {view->header()->sectionViewportPosition(3) + 5, 5});
    }

    // Saved as the file type chosen, in its own extension when none is typed.
    QApplication::setActiveWindow(report);
    QVERIFY(QTest::qWaitForWindowActive(report));
    const QString saved = h.dir.filePath(u"saved"_s);
    h.answer = saved;
    h.saveFilter = u"JSON lines (*.json)"_s;
    QTest::keyClick(report, Qt::Key_S, Qt::ControlModifier);
    const auto documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(h.offered, (QStringList{QDir(documents).filePath(u"GUID Conflicts.txt"_s),
                                     u"Text (*.txt);;JSON lines (*.json)"_s, u"Text (*.txt)"_s}));
    h.saveFilter = u"Text (*.txt)"_s;
    Harness::Click(report->findChild<QPushButton*>(u"SaveReport"_s));
    QCOMPARE(h.offered[2], u"JSON lines (*.json)"_s);  // where it saved last
    for (const QStringList& type : {QStringList{u".json"_s, u"--json"_s}, {u".txt"_s}}) {
        QFile file(saved + type[0]);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), Inspect(type.mid(1) << given).toUtf8());
    }
    for (const QString& target : {u"x.IFF"_s, u"no/such/folder/x.txt"_s}) {
        h.answer = h.dir.filePath(target);
        Harness::Click(report->findChild<QPushButton*>(u"SaveReport"_s));
        QVERIFY(!QFile::exists(h.answer));
    }
    QVERIFY(h.shown.size() == 2 && h.shown[0].contains(u"never written over an object file"_s) &&
            h.shown[1].startsWith(u"Save Report: Could not save \""_s));
    QTest::keyClick(report, Qt::Key_Escape);
    QTRY_COMPARE(Reports(), QList{again});
}

// Read Chunks is offered where a file has no map or was cut short before it.
// Nothing to list says why in the list's place: no object file found, with
// what the walk met, or no GUID shared; above other sections, a first row.
void CheckTests::madeFromACheck() {
    Harness h;
    for (const auto& [error, offered] : {std::pair{std::string(kNotValidIff), false},
                                         {kNoResourceMap, true},
                                         {CutInHeaderMessage(9), true},
                                         {CutBeforeMapMessage(900, 80), true}}) {
        auto check = std::make_shared<GuidCheck>();
        check->read.paths = {"x.iff"};
        check->read.listings.emplace_back().error = error;
        check->read.files.push_back({});
        check->errors.push_back({0, error});
        const ConflictsWindow report({u"x.iff"_s}, check, h);
        QCOMPARE(!report.findChild<QPushButton*>(u"ReadChunks"_s)->isHidden(), offered);
    }

    QDir(h.dir.path()).mkpath(u"empty/sub"_s);
    h.Write(u"one/lamp.iff"_s, TypicalObjectFile("Lamp", 128, 1, 0x22, 0));
    const QString lamp = h.dir.filePath(u"one/lamp.iff"_s), empty = h.dir.filePath(u"empty"_s);
    h.Write(u"one/broken.iff"_s, ToBytes("IFF"));
    for (const auto& [path, said] :
         {std::pair{empty,
                    u"No object file was found in empty.\nObject files are the files whose "
                    u"names end in .iff, and the members of the archives (.far) whose "
                    u"names do.\n%1: holds no object files (no file name in it ends in "
                    u".iff or .far)."_s.arg(QDir::toNativeSeparators(empty))},
          {lamp, u"No GUID is shared by two objects."_s},
          {h.dir.filePath(u"one"_s), QString()}}) {
        GuidCheckObserver quiet;
        const auto check = std::make_shared<GuidCheck>(
            CheckGuids({EncodeFileName(QDir::toNativeSeparators(path))}, false, quiet));
        const ConflictsWindow report({path}, check, h);
        const auto* list = report.findChild<QStackedWidget*>();
        if (said.isEmpty()) {
            QCOMPARE(list->currentWidget(), View(&report));
            QCOMPARE(View(&report)->topLevelItem(0)->text(0),
                     u"No GUID is shared by two objects."_s);
            QVERIFY(report.findChild<QLabel*>(u"Hint"_s)->isHidden());
        } else {
            QCOMPARE(qobject_cast<QLabel*>(list->currentWidget())->text(), said);
        }
    }
}

// Ctrl+F asks through the desktop, starting from the open file's folder, then
// from the last search; Cancel leaves the main window as it was; the results
// sort, open an object of an archive selected, copy what marrowick-inspect
// prints, and close on Escape. Finding nothing says so, and which files were
// not searched.
void CheckTests::findObjects() {
    Harness h;
    const QString folder = QDir::toNativeSeparators(Collection(h));
    const QString lamp = folder + QDir::separator() + u"two"_s + QDir::separator() + u"lamp.iff"_s;
    h.Open(lamp);
    h.ClickEntry(1);
    const QList<QAction*> actions = h.window.actions();
    QCOMPARE(actions.indexOf(h.window.findChild<QAction*>(u"FindObjectsAction"_s)),
             actions.indexOf(h.window.findChild<QAction*>(u"CheckFolderAction"_s)) + 1);
    QCOMPARE(actions.last()->text() + u' ' + actions.last()->shortcut().toString(),
             u"Find Objects… Ctrl+F"_s);
    const auto find = [&h](const QString& query, const QStringList& folders) {
        h.find = FindRequest{query, folders};
        QApplication::setActiveWindow(&h.window);
        QVERIFY(QTest::qWaitForWindowActive(&h.window));
        QTest::keyClick(&h.window, Qt::Key_F, Qt::ControlModifier);
    };
    find(u"sofa"_s, {folder});
    QCOMPARE(h.findStart.folders, QStringList{QFileInfo(lamp).path()});
    Harness::Click(h.window.findChild<ReadProgressDialog*>()->findChild<QPushButton*>());
    QTRY_VERIFY(!h.window.findChild<ReadProgressDialog*>());
    QVERIFY(!Results());
    QCOMPARE(h.window.CurrentFile() + QString::number(h.window.CurrentObject()), lamp + u'1');

    find(u" 2200 0000 "_s, {folder});
    QCOMPARE(h.findStart.query + h.findStart.folders.join(u','), u"sofa"_s + folder);
    QTRY_VERIFY(Results());
    FindWindow* results = Results();
    QCOMPARE(results->windowTitle(), u"Find Objects – “2200 0000” in c"_s);
    auto* view = results->findChild<QTreeWidget*>(u"Results"_s);
    QCOMPARE(results->focusWidget(), view);
    QTest::mouseClick(view->header()->viewport(), Qt::LeftButton, {},
                      {view->header()->sectionViewportPosition(0) + 5, 5});
    QCOMPARE(
        Rows(view),
        (QStringList{u"c%1game.far|objects/Lamp.IFF|Old lamp - tile 1|201|2200 0000|No "
                     u"Description|GUID"_s.arg(QDir::separator()),
                     u"c%1two%1lamp.iff||Lamp|128|2200 0000|Lamp|GUID"_s.arg(QDir::separator())}));
    QVERIFY(!results->findChild<QPushButton*>(u"ReadChunks"_s)->isHidden());
    QCOMPARE(Rows(results->findChild<QTreeWidget*>(u"Unread"_s)),
             QStringList{u"Files not searched: 2"_s});
    QApplication::setActiveWindow(results);
    QVERIFY(QTest::qWaitForWindowActive(results));
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), Inspect({u"--find"_s, u"2200 0000"_s, folder}));
    const QPoint at = view->visualItemRect(view->topLevelItem(0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(h.Shown(u"Label1"_s) + QString::number(h.window.CurrentObject()),
             u"objects/Lamp.IFF1"_s);
    QApplication::setActiveWindow(results);
    QVERIFY(QTest::qWaitForWindowActive(results));
    QTest::keyClick(results, Qt::Key_Escape);
    QTRY_VERIFY(!Results());

    GuidCheckObserver quiet;
    const auto none = std::make_shared<ObjectSearch>(
        FindObjects({EncodeFileName(folder)}, {"Caprize Chair"}, false, quiet));
    const FindWindow empty(u"Caprize Chair"_s, {folder}, none, h);
    QCOMPARE(empty.findChild<QLabel*>(u"Empty"_s)->text(),
             u"No object matches “Caprize Chair”.\nThe search is incomplete: 2 files could "
             u"not be read in full."_s);
    QVERIFY(empty.findChild<QLabel*>(u"Empty"_s)->isVisibleTo(&empty));
    QCOMPARE(h.shown, QStringList());
}

// Find is offered with a query and somewhere to look; folders come from the
// folder dialog or a drop, each once, and Remove takes the selected ones.
void CheckTests::findDialog() {
    Harness h;
    FindDialog dialog({}, h);
    auto* query = dialog.findChild<QLineEdit*>(u"Query"_s);
    auto* folders = dialog.findChild<QListWidget*>(u"Folders"_s);
    const auto offered = [&dialog] {
        return dialog.findChild<QPushButton*>(u"Find"_s)->isEnabled();
    };
    QTest::keyClicks(query, u"Sofa"_s);
    QVERIFY(!offered());
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile(h.dir.path()), QUrl::fromLocalFile(h.dir.path() + u"/x/.."_s)});
    QDragEnterEvent enter({9, 9}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop({9, 9}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QVERIFY(QApplication::sendEvent(&dialog, &enter) && enter.isAccepted());
    QApplication::sendEvent(&dialog, &drop);
    QVERIFY(offered());
    query->setText(u"  "_s);
    QVERIFY(!offered());
    query->setText(u" Sofa "_s);
    h.answer = h.dir.filePath(u"c"_s);
    Harness::Click(dialog.findChild<QPushButton*>(u"AddFolder"_s));
    const QString first = QDir::toNativeSeparators(h.dir.path());
    QCOMPARE(dialog.Request().query + u'|' + dialog.Request().folders.join(u','),
             u"Sofa|"_s + first + u',' + QDir::toNativeSeparators(h.answer));
    folders->setCurrentRow(1);
    Harness::Click(dialog.findChild<QPushButton*>(u"Remove"_s));
    QCOMPARE(dialog.Request().folders, QStringList{first});
}

}  // namespace marrowick::test

QTEST_MAIN(marrowick::test::CheckTests)
#include "tst_conflict_check.moc"
