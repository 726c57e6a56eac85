// What the window tests share: one run of the program driven by real events,
// and the object files it opens.
#pragma once

#include <QtTest>
#include <QtWidgets>

#include "desktop.h"
#include "frm_main.h"
#include "iff_builder.h"
#include "score_frm.h"

namespace marrowick::test {
using namespace Qt::StringLiterals;

// The reader, both windows, and a desktop that answers for the user.
struct Harness final : Desktop {
    QString answer;                   // the open, folder and save dialogs'; empty is a cancel
    QString saveFilter;               // the file type the save dialog answers with
    bool readChunks = false;          // the answer to a box with a second button
    int member = -1;                  // the member dialog's: an index, or -1 for a cancel
    QStringList offered;              // the member dialog's archive, then "name size" each; or a
                                      // file dialog's start and filters
    QStringList shown;                // "caption: text", and " [button]" for a second button
    int listed = -1;                  // the main list's entries as the last message showed
    QStringList addresses;            // and the folders shown
    std::optional<FindRequest> find;  // the Find dialog's answer; nothing is a cancel
    FindRequest findStart;            // and what it was opened with
    int ends = 0;
    QTemporaryDir dir;
    ParseIFF parse;
    ScoreFrm editor{parse, *this};
    FrmMain window{parse, editor, *this};

    Harness() { window.show(); }
    // Closed editor windows wait for the event loop to delete them.
    ~Harness() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QString AskOpenFile(QWidget*, const QString&, const QString& filters) override {
        offered = {filters};
        return answer;
    }
    QString AskSaveFile(QWidget*, const QString& start, const QString& filters,
                        QString* filter) override {
        offered = {start, filters, *filter};
        *filter = saveFilter;
        return answer;
    }
    QString AskFolder(QWidget*, const QString&) override { return answer; }
    void ShowMessage(QWidget*, const QString& text, const QString& caption) override {
        shown << caption + u": "_s + text;
        listed = window.findChild<QListWidget*>()->count();
    }
    bool ShowMessageWithButton(QWidget*, const QString& text, const QString& caption,
                               const QString& button) override {
        shown << caption + u": "_s + text + u" ["_s + button + u']';
        return readChunks;
    }
    int ChooseArchiveMember(QWidget*, const QString& archive,
                            const QList<ArchiveMemberChoice>& members) override {
        offered = {archive};
        std::ranges::transform(members, std::back_inserter(offered), [](const auto& m) {
            return m.name + u' ' + QString::number(m.size);
        });
        return member;
    }
    std::optional<FindRequest> AskFind(QWidget*, const FindRequest& start) override {
        findStart = start;
        return find;
    }
    void OpenWebAddress(const QString& address) override { addresses << address; }
    void ShowInFolder(const QString& path) override { addresses << u"folder "_s + path; }
    void EndProgram() override { ++ends; }

    QString Write(const QString& name, const Bytes& bytes) const {
        QDir(dir.path()).mkpath(QFileInfo(name).path());
        WriteFile(dir.filePath(name).toStdString(), bytes);  // UTF-8, as the builder takes it
        return dir.filePath(name);
    }
    // Answers the dialog with `path` (empty: cancel) and clicks "Open IFF File".
    void Open(const QString& path) {
        answer = path;
        Press("Command1");
    }
    // Drags `urls` onto the window, and drops them if it takes them.
    bool Drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter({9, 9}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop({9, 9}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        return QApplication::sendEvent(&window, &enter) && enter.isAccepted() &&
               QApplication::sendEvent(&window, &drop);
    }
    void ClickEntry(int row) {
        auto* list = window.findChild<QListWidget*>();
        const QPoint centre = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    }
    QStringList Entries() const {
        QStringList texts;
        for (const auto* item :
             window.findChild<QListWidget*>()->findItems({}, Qt::MatchContains)) {
            texts << item->text();
        }
        return texts;
    }
    QWidget* Main(const char* name) const { return window.findChild<QWidget*>(name); }
    QWidget* Ed(const QString& name) const { return editor.window()->findChild<QWidget*>(name); }
    QString Shown(const QString& names) const { return Texts(&window, names); }
    QString EdShown(const QString& names) const { return Texts(editor.window(), names); }
    void Press(const char* button) { Click(Main(button)); }
    void GetGuid() { Press("Command3"); }

    // Does `script`'s steps in the editor as a user would: a hex digit presses
    // its key, bN clicks GUID box N, x is Clear GUID, name=text types there,
    // name@N picks entry N of a list, name>Enter or name>Escape presses the key,
    // "close" is the close box, "Get" is Get GUID!; any other name is clicked.
    void Do(const QString& script) {
        for (QString step : script.split(u' ')) {
            const qsizetype digit = u"0123456789ABCDEF"_s.indexOf(step);
            step = step.size() == 1 && digit >= 0        ? u"Command1(%1)"_s.arg(digit)
                   : step == u"x"_s                      ? u"Command3"_s
                   : step.size() == 2 && step[0] == u'b' ? u"txtguid(%1)"_s.arg(step[1])
                                                         : step;
            const qsizetype mark = step.indexOf(QRegularExpression(u"[=@>]"_s));
            QWidget* control = editor.IsOpen() ? Ed(step.left(mark)) : nullptr;
            auto* list = qobject_cast<QComboBox*>(control);
            const QString arg = step.mid(mark + 1);
            step == u"Get"_s     ? GetGuid()
            : step == u"close"_s ? static_cast<void>(editor.window()->close())
            : mark < 0           ? Click(control)
            : step[mark] == u'=' ? QTest::keyClicks(list ? list->lineEdit() : control, arg)
            : step[mark] == u'@'
                ? ChooseEntry(list, arg.toInt())
                : QTest::keyClick(control, arg == u"Enter" ? Qt::Key_Return : Qt::Key_Escape);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // What the controls `names` (separated by blanks) of `window` show, joined
    // by '|': a check box its state, a list its position and text.
    static QString Texts(const QWidget* window, const QString& names) {
        QStringList texts;
        for (const QString& name : names.split(u' ')) {
            const QWidget* control = window->findChild<QWidget*>(name);
            const auto* list = qobject_cast<const QComboBox*>(control);
            const auto* box = qobject_cast<const QCheckBox*>(control);
            texts << (list  ? QString::number(list->currentIndex()) + u' ' + list->currentText()
                      : box ? QString::number(box->checkState())
                            : control->property(control->inherits("QGroupBox") ? "title" : "text")
                                  .toString());
        }
        return texts.join(u'|');
    }
    static void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }
    static void PressCtrlD(QWidget* window) {
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_D, Qt::ControlModifier);
    }
    static void ChooseEntry(QComboBox* list, int position) {
        list->showPopup();
        const QRect entry = list->view()->visualRect(list->model()->index(position, 0));
        QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {}, entry.center());
    }
};

// Every window test; each folder (main_window, attribute_editor, safety)
// defines its own, and one program runs them all, so they link once.
class WindowTests : public QObject {
    Q_OBJECT

  private slots:
    // A warning from Qt is a misused control, unless the headless platform's.
    void init() { QTest::failOnWarning(QRegularExpression(u"^(?!This plugin does not)"_s)); }
    void openSelectAndEnd();
    void decodeThumbnail_data();
    void decodeThumbnail();
    void readChunksOnlyWhenAsked();
    void loadsEveryField();
    void loading_data();
    void loading();
    void actions_data();
    void actions();
    void neverWritten();
    void fileTextShownLiterally();
    void archiveMembers();
    void archiveRefused_data();
    void archiveRefused();
    void memberDialog_data();
    void memberDialog();
};

// Every field the editor shows differs: GUID, price, sale price, depreciation
// (initial, daily, self, limit), room, type, catalog id, original GUID, scores...
inline const ObjectDefinition kSample = {
    0x12345678, 1450,      900, 200, 15, 1, 400, 8, 1, 0, 0xABCDEF01, {3, -25, 5, 6, 7, 8, -32768},
    8,          0x0BADF00D};

// A chair (0xE9: e acute) with catalog texts and thumbnail, its tile, a lamp;
// without a resource map the texts use the packed layout, as such files do.
inline Bytes ChairTileLamp(bool withMap = true) {
    IffBuilder file;
    if (!withMap) {
        file.OmitMap();
    }
    ObjectDefinition chair = kSample;
    chair.catalog_id = 2100;
    file.Object(16384, "Caf\xE9 Chair", chair);
    file.Object(16385, "Caf\xE9 Chair - tile", {});
    file.Object(128, "Lamp", {.price = -75, .room_flags = 2, .type_flags = 4});
    const std::vector<CatalogString> texts = {{1, "Club Chair", ""}, {1, "Deep.\r\nSoft.", ""}};
    file.Chunk("CTSS", 2100, "", withMap ? CatalogTexts(texts) : PackedCatalogTexts(texts));
    file.Chunk("BMP_", 2100, "", CatalogThumbnail(0x3060C0, 0x60A0F0));
    return file.Build();
}

}  // namespace marrowick::test
