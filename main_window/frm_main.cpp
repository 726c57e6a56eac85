// The main window's life: creation, opening a file, the object list, the about
// panel's links, the expanded view and the end of the program.
#include "frm_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>

#include "archive.h"
#include "conflicts_window.h"
#include "desktop.h"
#include "file_name_text.h"
#include "find_window.h"
#include "guid_check_dialog.h"
#include "object_list.h"
#include "parse_iff.h"
#include "placement.h"
#include "score_frm.h"
#include "window_look.h"

namespace marrowick {

const QString FrmMain::kStartFolder = QStringLiteral("C:\\RIRUVIZOR\\extracted\\objects\\");
// Qt matches the patterns without regard to case, so x.iff is offered too. The
// second entry shows the archives beside them, which open through the picker.
const QString FrmMain::kFileFilter = QStringLiteral(
    "Tavisk Object Files (*.IFF);;Object Files and Archives (*.iff *.far);;All Files (*.*)");
const QString FrmMain::kMakerAddress = QStringLiteral("https://corvane.example/");
const QString FrmMain::kWorkshopAddress = QStringLiteral("https://tavisk-workshop.example/");
const QString FrmMain::kReadChunks = QStringLiteral("Read Chunks");

FrmMain::UserAction::UserAction(FrmMain& window) : window_(window) {
    if (window_.actionDepth_++ == 0) {
        window_.shownMessages_.clear();
    }
}

FrmMain::UserAction::~UserAction() {
    --window_.actionDepth_;
}

FrmMain::FrmMain(ParseIFF& parse, ScoreFrm& editor, Desktop& desktop, QWidget* parent)
    : QWidget(parent), parse_(parse), editor_(editor), desktop_(desktop) {
    CreateControls();
    ConnectHandlers();
    parse_.SetMessageSink(this);
    Form_Initialize();
}

FrmMain::~FrmMain() {
    for (const QPointer<QWidget>& report : reports_) {
        delete report.data();
    }
    parse_.SetMessageSink(nullptr);
}

void FrmMain::ConnectHandlers() {
    connect(Command1, &QPushButton::clicked, this, &FrmMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmMain::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FrmMain::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &FrmMain::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &FrmMain::Command5_Click);
    connect(ShowDetailsAction, &QAction::toggled, this, &FrmMain::SetDetailsShown);
    connect(CheckFolderAction, &QAction::triggered, this, &FrmMain::AskFolderToCheck);
    connect(FindObjectsAction, &QAction::triggered, this, &FrmMain::AskToFind);

    // A new selection, by mouse or keyboard, raises the click once; a click on
    // the entry that is already selected changes nothing in the list, so it is
    // raised from the click itself (see eventFilter).
    connect(List1, &QListWidget::currentRowChanged, this, [this] {
        if (!assigningIndex_) {
            List1_Click();
        }
    });
    connect(List1, &QListWidget::clicked, this, [this](const QModelIndex& index) {
        if (index.row() == pressedCurrentRow_) {
            pressedCurrentRow_ = -1;
            List1_Click();
        }
    });
    List1->viewport()->installEventFilter(this);
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List1->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                         event->type() == QEvent::MouseButtonDblClick)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int row = List1->indexAt(mouse->position().toPoint()).row();
        pressedCurrentRow_ = (row >= 0 && row == List1->currentRow()) ? row : -1;
    }
    return QWidget::eventFilter(watched, event);
}

QString FrmMain::CurrentFile() const {
    return DecodeFileName(parse_.CurrentFile);
}

void FrmMain::SetListIndex(int index) {
    {
        QScopedValueRollback<bool> assigning(assigningIndex_, true);
        List1->setCurrentRow(index);
    }
    List1_Click();
}

void FrmMain::ShowMessage(const std::string& text, const std::string& caption) {
    // A file that vanished is reported by each of a selection's reads; the user
    // needs to hear it once.
    if (actionDepth_ > 0) {
        const QString key = FromUtf8(caption) + QChar(0) + FromUtf8(text);
        if (shownMessages_.contains(key)) {
            return;
        }
        shownMessages_.insert(key);
    }
    desktop_.ShowMessage(this, FromUtf8(text), FromUtf8(caption));
}

bool FrmMain::ShowNoResourceMap(const std::string& text, const std::string& caption) {
    return desktop_.ShowMessageWithButton(this, FromUtf8(text), FromUtf8(caption), kReadChunks);
}

void FrmMain::Form_Initialize() {
    dialogFolder_ = kStartFolder;
}

void FrmMain::Command1_Click() {
    UserAction action(*this);
    // Qt's dialog opens a missing folder as its root with the folder's text in
    // the name box; where the folder is missing the dialog picks its own.
    const QString folder = QFileInfo(dialogFolder_).isDir() ? dialogFolder_ : QString();
    const QString path = desktop_.AskOpenFile(this, folder, kFileFilter);
    if (path.isEmpty()) {
        return;
    }
    OpenChosenFile(path);
}

void FrmMain::OpenChosenFile(const QString& chosen) {
    // Dialogs and drops give '/' on every system; messages and the tooltip name
    // the file as its user writes it, on Windows with backslashes.
    const QString path = QDir::toNativeSeparators(chosen);
    const std::string name = EncodeFileName(path);
    ArchiveContents archive;
    {
        FileBytes file(name);
        if (!file.ok() || !IsArchive(file)) {
            ShowOpened(path, nullptr, [&] { parse_.ScanObjectFile(file, name); });
            return;
        }
        archive = ReadArchive(file);  // and closed again while the user chooses
    }
    OpenArchiveMember(path, archive);
}

void FrmMain::OpenArchiveMember(const QString& path, const ArchiveContents& archive) {
    const QString archiveName = QFileInfo(path).fileName();
    QString refusal;
    if (!archive.error.empty()) {
        refusal = archiveName + QStringLiteral(": ") + FromUtf8(archive.error);
    } else if (archive.objectFiles.empty()) {
        refusal = archive.skipped == 0
                      ? tr("%1 holds no object files: it has no members.").arg(archiveName)
                      : tr("%1 holds no object files: no member name in it ends in .iff (%2).")
                            .arg(archiveName, archive.skipped == 1
                                                  ? tr("1 other member")
                                                  : tr("%1 other members").arg(archive.skipped));
    }
    if (!refusal.isEmpty()) {
        ShowOpened(path, nullptr, [&] { Refuse(refusal); });
        return;
    }

    QList<ArchiveMemberChoice> choices;
    choices.reserve(static_cast<qsizetype>(archive.objectFiles.size()));
    for (const ArchiveMember& member : archive.objectFiles) {
        choices.append({FromFileText(member.name), member.range.size});
    }
    const int chosen = desktop_.ChooseArchiveMember(this, archiveName, choices);
    if (chosen < 0 || chosen >= choices.size()) {
        return;  // cancelled: the window stays as it was
    }
    const ArchiveMember& member = archive.objectFiles[static_cast<std::size_t>(chosen)];
    if (!member.error.empty()) {
        ShowOpened(path, &member, [&] {
            Refuse(archiveName + QStringLiteral(": ") + choices[chosen].name +
                   QStringLiteral(": ") + FromUtf8(member.error));
        });
        return;
    }
    OpenMember(path, member);
}

void FrmMain::OpenMember(const QString& path, const ArchiveMember& member) {
    FileBytes file(EncodeFileName(path), member.range);
    ShowOpened(path, &member, [&] { parse_.ScanObjectFile(file, parse_.CurrentFile); });
}

void FrmMain::OpenObject(const QString& path, const ArchiveMember* member, int index) {
    UserAction action(*this);
    if (member != nullptr) {
        OpenMember(path, *member);
    } else {
        OpenChosenFile(path);
    }
    if (index >= 0 && index < List1->count()) {
        SetListIndex(index);
    }
}

void FrmMain::ShowOpened(const QString& path, const ArchiveMember* member,
                         const std::function<void()>& fill) {
    parse_.CurrentFile = EncodeFileName(path);
    parse_.CurrentRange = member != nullptr ? member->range : ByteRange{};
    archivePath_ = member != nullptr ? path : QString();
    {
        QScopedValueRollback<bool> assigning(assigningIndex_, true);
        List1->clear();
    }
    fill();
    const QString name =
        member != nullptr ? FromFileText(member->name) : QFileInfo(path).fileName();
    Label1->setText(name);
    setWindowTitle(member != nullptr
                       ? tr("%1 in %2 \u2013 %3")
                             .arg(name, QFileInfo(path).fileName(), QLatin1String(kAppTitle))
                       : QLatin1String(kAppTitle));
    ImageList1_.clear();
    FillObjectList();
    if (List1->count() > 0) {
        SetListIndex(0);
    } else {
        ClearDetailView();
    }
    ShowHowListed();
    ShowScanWarnings(name);
}

void FrmMain::Refuse(const QString& why) {
    parse_.ClearIndex();
    desktop_.ShowMessage(this, why, QLatin1String(kAppTitle));
}

void FrmMain::ShowHowListed() {
    const bool walked = parse_.ReadBy == IndexSource::Chunks;
    const QString note =
        walked ? tr("Listed from the file's chunks: it has no resource map.") : QString();
    ChunksNote->setText(note);
    ChunksNote->setVisible(walked && detailsShown_);
    // Qt looks for markup in a tooltip's first line only: a fixed first line
    // keeps the path plain text.
    QStringList tip;
    if (!archivePath_.isEmpty()) {
        tip << tr("In the archive:") << QDir::toNativeSeparators(archivePath_);
    }
    if (walked) {
        tip << note;
    }
    Label1->setToolTip(tip.join(QLatin1Char('\n')));
}

void FrmMain::ShowScanWarnings(const QString& name) {
    if (parse_.ScanWarnings.empty()) {
        return;
    }
    QStringList lines;
    for (const std::string& warning : parse_.ScanWarnings) {
        lines << name + QStringLiteral(": ") + FromUtf8(warning);
    }
    desktop_.ShowMessage(this, lines.join(QLatin1Char('\n')), QLatin1String(kAppTitle));
}

void FrmMain::FillObjectList() {
    QScopedValueRollback<bool> assigning(assigningIndex_, true);
    for (const ObjectListEntry& entry : marrowick::FillObjectList(parse_)) {
        auto* item = new QListWidgetItem(FromFileText(entry.Text));
        item->setData(Qt::UserRole, entry.ItemData);
        List1->addItem(item);
    }
}

void FrmMain::Command2_Click() {
    desktop_.EndProgram();
}

void FrmMain::Command3_Click() {
    UserAction action(*this);
    if (parse_.ObjdCount <= 0 || CurrentObject_ < 0 || CurrentObject_ >= List1->count()) {
        return;
    }
    editor_.Open(CurrentObject_, List1->item(CurrentObject_)->text());
    SetListIndex(List1->currentRow());
}

void FrmMain::Command4_Click() {
    desktop_.OpenWebAddress(kMakerAddress);
}

void FrmMain::Command5_Click() {
    desktop_.OpenWebAddress(kWorkshopAddress);
}

void FrmMain::closeEvent(QCloseEvent* event) {
    // Checks and searches still running are stopped and their threads joined first.
    qDeleteAll(findChildren<ReadProgressDialog*>(Qt::FindDirectChildrenOnly));
    Form_Unload();
    // Only reached where ending the program returns (under test): the window
    // is never merely hidden.
    event->ignore();
}

void FrmMain::Form_Unload() {
    // The readers close the file before they return, so nothing is open under
    // FileNum here; ending closes whatever might be.
    desktop_.EndProgram();
}

void FrmMain::SetDetailsShown(bool shown) {
    if (shown == detailsShown_) {
        return;
    }
    detailsShown_ = shown;
    if (shown) {
        PlaceExpanded(*this);
    } else {
        PlaceAsDesigned(*this);
    }
    ChunksNote->setVisible(shown && !ChunksNote->text().isEmpty());
    ShowDetailsAction->setChecked(shown);
}

namespace {

// What a drop asks for: the one local file being dragged, to open; or local
// folders, or several local files and folders, to check for shared GUIDs.
struct Dropped {
    QString file;
    QStringList check;
};

Dropped TakeDropped(const QMimeData* data) {
    const QStringList local = LocalPaths(data);
    if (local.size() == 1 && !QFileInfo(local.first()).isDir()) {
        return {local.first(), {}};
    }
    return {{}, local};
}

}  // namespace

void FrmMain::dragEnterEvent(QDragEnterEvent* event) {
    const Dropped dropped = TakeDropped(event->mimeData());
    if (!dropped.file.isEmpty() || !dropped.check.isEmpty()) {
        event->acceptProposedAction();
    }
}

void FrmMain::dropEvent(QDropEvent* event) {
    const Dropped dropped = TakeDropped(event->mimeData());
    if (!dropped.check.isEmpty()) {
        event->acceptProposedAction();
        CheckForConflicts(dropped.check, false);
        return;
    }
    if (dropped.file.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    UserAction action(*this);
    OpenChosenFile(dropped.file);
}

void FrmMain::AskFolderToCheck() {
    const QString current = CurrentFile();
    const QString folder =
        desktop_.AskFolder(this, current.isEmpty() ? QString() : QFileInfo(current).path());
    if (!folder.isEmpty()) {
        CheckForConflicts({folder}, false);
    }
}

namespace {

// Absolute, so that reports and their copies name every file in full.
QStringList Absolute(const QStringList& paths) {
    QStringList absolute;
    for (const QString& path : paths) {
        absolute << QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    }
    return absolute;
}

}  // namespace

void FrmMain::CheckForConflicts(const QStringList& paths, bool readChunks) {
    const QStringList absolute = Absolute(paths);
    auto* progress = new GuidCheckDialog(absolute, readChunks, this);
    connect(progress, &GuidCheckDialog::Finished, this,
            [this, absolute](std::shared_ptr<const GuidCheck> check) {
                auto* report = new ConflictsWindow(absolute, std::move(check), desktop_);
                Keep(report);
                connect(report, &ConflictsWindow::OpenObject, this, &FrmMain::OpenFoundObject);
                connect(report, &ConflictsWindow::ReadChunks, this,
                        [this](const QStringList& again) { CheckForConflicts(again, true); });
                report->show();
            });
}

void FrmMain::AskToFind() {
    FindRequest start = lastFind_;
    if (start.folders.isEmpty() && !CurrentFile().isEmpty()) {
        start.folders << QFileInfo(CurrentFile()).path();
    }
    const std::optional<FindRequest> asked = desktop_.AskFind(this, start);
    if (!asked || asked->query.trimmed().isEmpty() || asked->folders.isEmpty()) {
        return;
    }
    lastFind_ = *asked;
    FindObjectsIn(asked->query.trimmed(), asked->folders, false);
}

void FrmMain::FindObjectsIn(const QString& query, const QStringList& paths, bool readChunks) {
    const QStringList absolute = Absolute(paths);
    std::vector<std::string> names;
    for (const QString& path : absolute) {
        names.push_back(EncodeFileName(path));
    }
    auto job = [names = std::move(names), queries = std::vector{query.toStdString()}, readChunks](
                   GuidCheckObserver& observer, const std::atomic<bool>* cancel) {
        return std::make_shared<const ObjectSearch>(
            FindObjects(names, queries, readChunks, observer, cancel));
    };
    auto* progress = new ReadProgressDialog(
        tr("Finding Objects \u2013 %1").arg(CheckedPaths(absolute)), std::move(job), this);
    connect(progress, &ReadProgressDialog::Read, this,
            [this, query, absolute](std::shared_ptr<const CollectionRead> read) {
                auto* results = new FindWindow(
                    query, absolute, std::static_pointer_cast<const ObjectSearch>(std::move(read)),
                    desktop_);
                Keep(results);
                connect(results, &FindWindow::OpenObject, this, &FrmMain::OpenFoundObject);
                connect(results, &FindWindow::ReadChunks, this,
                        [this](const QString& again, const QStringList& where) {
                            FindObjectsIn(again, where, true);
                        });
                results->show();
            });
}

void FrmMain::OpenFoundObject(const ObjectFileItem& file, int index) {
    const ArchiveMember member{file.member, file.range, {}};
    const bool inArchive = file.kind == ObjectFileItem::Kind::Member;
    OpenObject(DecodeFileName(file.path), inArchive ? &member : nullptr, index);
    activateWindow();
    raise();
}

void FrmMain::Keep(QWidget* report) {
    reports_.removeAll(nullptr);
    reports_ << report;
}

}  // namespace marrowick
