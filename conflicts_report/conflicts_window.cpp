#include "conflicts_window.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <sstream>

#include "desktop.h"
#include "file_name_text.h"
#include "file_notes.h"
#include "guid_check_dialog.h"
#include "guid_query.h"
#include "messages.h"
#include "object_list.h"
#include "window_look.h"

namespace marrowick {
namespace {

enum Column { kFile, kMember, kLabel, kId };
enum Role {
    kFileRole = Qt::UserRole,  // an object's file: its position in the collection
    kIndexRole,                // and the object's in the file
    kGroupRole,                // a group's heading
    kGuidRole,                 // an object's GUID: four bytes
    kPathRole,     // the full path of the file a row names (for a member, the archive's)
    kOrderRole,    // a heading's place in the report
    kDetailsRole,  // what the details under the list say of the row
};

// More files of one reason than this start folded.
constexpr int kOpenReasonFiles = 10;

const QString kTextFilter = QStringLiteral("Text (*.txt)");
const QString kJsonFilter = QStringLiteral("JSON lines (*.json)");

// A row that sorts within its group or section: the headings keep the
// report's order whatever the column, Id sorts by number and File by full path.
class ReportRow final : public QTreeWidgetItem {
  public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& other) const override {
        const QVariant mine = data(kFile, kOrderRole);
        const QVariant theirs = other.data(kFile, kOrderRole);
        if (mine.isValid() && theirs.isValid()) {
            // A descending sort asks this with the rows turned round.
            const bool descending =
                treeWidget()->header()->sortIndicatorOrder() == Qt::DescendingOrder;
            return (mine.toInt() < theirs.toInt()) != descending;
        }
        switch (treeWidget()->sortColumn()) {
            case kId:
                return text(kId).toLongLong() < other.text(kId).toLongLong();
            case kFile:
                if (const int order = QString::compare(data(kFile, kPathRole).toString(),
                                                       other.data(kFile, kPathRole).toString(),
                                                       Qt::CaseInsensitive)) {
                    return order < 0;
                }
                return QString::compare(text(kMember), other.text(kMember), Qt::CaseInsensitive) <
                       0;
            default:
                return QTreeWidgetItem::operator<(other);
        }
    }
};

std::array<std::uint8_t, 4> GuidOf(const QTreeWidgetItem* row) {
    const QByteArray bytes = row->data(kFile, kGuidRole).toByteArray();
    std::array<std::uint8_t, 4> guid{};
    std::copy_n(bytes.begin(), std::min<qsizetype>(bytes.size(), 4), guid.begin());
    return guid;
}

QString FromUtf8Line(const std::string& text) {
    return FromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

QString Kind(const SharedGuid& group) {
    return FromUtf8(std::string(KindName(group.kind)));
}

// The member's name of a file read from an archive; empty for any other.
QString MemberShown(const ListedFile& file) {
    return file.kind == ObjectFileItem::Kind::Member ? FromFileText(file.member) : QString();
}

bool HasNoMap(const std::vector<FileError>& errors) {
    return std::any_of(errors.begin(), errors.end(),
                       [](const FileError& e) { return MapCannotBeUsed(e.error); });
}

}  // namespace

ConflictsWindow::ConflictsWindow(const QStringList& paths, std::shared_ptr<const GuidCheck> check,
                                 Desktop& desktop, QWidget* parent)
    : QWidget(parent, Qt::Window), paths_(paths), check_(std::move(check)), desktop_(desktop) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(CheckTitle(paths_, check_->readWarnings.readByChunks.has_value()));

    auto* summary = new QLabel(Summary(), this);
    summary->setObjectName(QStringLiteral("Summary"));
    summary->setTextFormat(Qt::PlainText);
    summary->setWordWrap(true);
    auto* hint = new QLabel(FromUtf8(WhatToDo(check_->report)), this);
    hint->setObjectName(QStringLiteral("Hint"));
    hint->setTextFormat(Qt::PlainText);
    hint->setWordWrap(true);
    hint->setVisible(!check_->report.shared.empty());

    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("Filter"));
    filter_->setPlaceholderText(tr("Type to narrow by GUID, label or file"));
    filter_->setClearButtonEnabled(true);
    filter_->installEventFilter(this);
    auto* filterLabel = new QLabel(tr("&Filter:"), this);
    filterLabel->setBuddy(filter_);

    view_ = new QTreeWidget(this);
    view_->setObjectName(QStringLiteral("Report"));
    view_->setHeaderLabels({tr("File"), tr("Member"), tr("Label"), tr("Id")});
    view_->setColumnHidden(kMember, !check_->archives);
    view_->setUniformRowHeights(true);
    view_->setTextElideMode(Qt::ElideMiddle);  // a long folder keeps the file's name in view
    view_->setAllColumnsShowFocus(true);
    view_->viewport()->installEventFilter(this);  // the rows' menu
    const bool listed = FillView();
    // With nothing to list, the list's place says why.
    auto* empty = new QLabel(Explanation().join(QLatin1Char('\n')), this);
    empty->setObjectName(QStringLiteral("Empty"));
    empty->setTextFormat(Qt::PlainText);
    empty->setWordWrap(true);
    empty->setAlignment(Qt::AlignCenter);
    empty->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* list = new QStackedWidget(this);
    list->addWidget(view_);
    list->addWidget(empty);
    list->setCurrentWidget(listed ? static_cast<QWidget*>(view_) : empty);
    filterLabel->setVisible(listed);
    filter_->setVisible(listed);

    details_ = new QLabel(this);
    details_->setObjectName(QStringLiteral("Details"));
    details_->setTextFormat(Qt::PlainText);
    details_->setWordWrap(true);
    details_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    details_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for a path and its member without the list moving at each click.
    details_->setMinimumHeight(details_->fontMetrics().lineSpacing() * 2);

    auto* readChunks = new QPushButton(tr("Read Chunks"), this);
    readChunks->setObjectName(QStringLiteral("ReadChunks"));
    readChunks->setToolTip(
        tr("Check again, reading the files that have no resource map by their chunks"));
    readChunks->setVisible(!check_->readWarnings.readByChunks && HasNoMap(check_->errors));
    auto* open = new QLabel(tr("Double-click an object to open it in the main window."), this);
    auto* save = new QPushButton(tr("Save Report\u2026"), this);
    save->setObjectName(QStringLiteral("SaveReport"));
    auto* copy = new QPushButton(tr("Copy Report"), this);
    copy->setObjectName(QStringLiteral("CopyReport"));
    auto* close = new QPushButton(tr("Close"), this);
    const auto shortcut = [this](const QKeySequence& keys, auto handler) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, handler);
    };
    const auto copyReport = [this] { QGuiApplication::clipboard()->setText(ReportText()); };
    shortcut(QKeySequence::Copy, copyReport);
    shortcut(QKeySequence::Save, [this] { SaveReport(); });
    shortcut(Qt::Key_Escape, [this] { this->close(); });

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filter_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(readChunks);
    buttons->addWidget(open, 1);
    buttons->addWidget(save);
    buttons->addWidget(copy);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(hint);
    layout->addLayout(filterRow);
    layout->addWidget(list, 1);
    layout->addWidget(details_);
    layout->addLayout(buttons);
    FitToContents();

    connect(copy, &QPushButton::clicked, this, copyReport);
    connect(save, &QPushButton::clicked, this, &ConflictsWindow::SaveReport);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(readChunks, &QPushButton::clicked, this, [this] { emit ReadChunks(paths_); });
    connect(filter_, &QLineEdit::textChanged, this, &ConflictsWindow::ApplyFilter);
    connect(view_, &QTreeWidget::itemActivated, this, &ConflictsWindow::Activate);
    connect(view_, &QTreeWidget::itemSelectionChanged, this, &ConflictsWindow::ShowDetails);
    view_->setFocus();
}

QString ConflictsWindow::ReportText() const {
    std::ostringstream out;
    PrintGuidCheck(*MakeTextPrinter(out), *check_);
    return QString::fromStdString(out.str());
}

bool ConflictsWindow::FillView() {
    QList<QTreeWidgetItem*> rows;
    for (const SharedGuid& group : check_->report.shared) {
        rows << Group(group);
    }
    rows << NoGuidSection() << FileNotes(tr("Files with errors: %1"), check_->errors, true)
         << FileNotes(tr("Files read with warnings: %1"), check_->readWarnings.warnings, false);
    rows.removeAll(nullptr);
    if (rows.isEmpty()) {
        return false;
    }
    if (check_->report.shared.empty()) {
        const QStringList lines = Explanation();
        auto* none = new ReportRow({lines.front()});
        for (const QString& line : lines.mid(1)) {
            new ReportRow(none, {line});
        }
        rows.prepend(none);
    }
    for (int place = 0; place < rows.size(); ++place) {
        rows[place]->setData(kFile, kOrderRole, place);
    }
    view_->addTopLevelItems(rows);
    // Every row but an object's takes the whole width: headings, reasons, notes.
    for (QTreeWidgetItemIterator it(view_); *it; ++it) {
        (*it)->setFirstColumnSpanned(!(*it)->data(kFile, kFileRole).isValid());
    }
    view_->expandAll();
    // A long list of one reason's files opens on request.
    for (QTreeWidgetItemIterator it(view_); *it; ++it) {
        if ((*it)->parent() && (*it)->data(kFile, kOrderRole).isValid() &&
            (*it)->childCount() > kOpenReasonFiles) {
            (*it)->setExpanded(false);
        }
    }
    // The report's order until a header is clicked: no column is sorted yet.
    view_->header()->setSortIndicator(-1, Qt::AscendingOrder);
    view_->setSortingEnabled(true);
    return true;
}

QStringList ConflictsWindow::Explanation() const {
    if (check_->read.FilesRead() > 0) {
        return {tr("No GUID is shared by two objects.")};
    }
    QStringList lines{tr("No object file was found in %1.").arg(CheckedPaths(paths_)),
                      tr("Object files are the files whose names end in .iff, and the members "
                         "of the archives (.far) whose names do.")};
    for (const std::string& notice : check_->notices) {
        lines << FromUtf8Line(notice);
    }
    return lines;
}

void ConflictsWindow::FitToContents() {
    QHeaderView* header = view_->header();
    header->setSectionResizeMode(QHeaderView::Interactive);
    const int margin = fontMetrics().averageCharWidth() * 3;
    int others = 0;
    for (int column : {kMember, kLabel, kId}) {
        view_->resizeColumnToContents(column);
        view_->setColumnWidth(column, view_->columnWidth(column) + margin);
        others += view_->isColumnHidden(column) ? 0 : view_->columnWidth(column);
    }
    // The file column's widest name, measured on every row: Qt's own sizing
    // looks at the headings, which span the columns, and at a thousand rows only.
    int widest = header->fontMetrics().horizontalAdvance(view_->headerItem()->text(kFile));
    for (QTreeWidgetItemIterator it(view_); *it; ++it) {
        if (!(*it)->isFirstColumnSpanned()) {
            widest = std::max(widest, view_->fontMetrics().horizontalAdvance((*it)->text(kFile)));
        }
    }
    const QMargins around = layout()->contentsMargins();
    const int frame = around.left() + around.right() + view_->frameWidth() * 2 +
                      style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view_);
    const QRect screenArea = screen()->availableGeometry();
    const int file =
        std::min(widest + view_->indentation() * 2 + margin, screenArea.width() - frame - others);
    view_->setColumnWidth(kFile, std::max(file, margin * 4));
    resize(std::min(std::max(minimumSizeHint().width(), frame + others + view_->columnWidth(kFile)),
                    screenArea.width()),
           std::min(520, screenArea.height()));
}

QString ConflictsWindow::Summary() const {
    const ConflictReport& report = check_->report;
    QStringList parts{tr("Files: %1").arg(check_->read.FilesRead())};
    if (check_->archives) {
        parts << tr("Archives: %1").arg(*check_->archives);
    }
    if (check_->readWarnings.readByChunks) {
        parts << tr("Read by chunks: %1").arg(*check_->readWarnings.readByChunks);
    }
    parts << tr("Objects: %1").arg(report.objects)
          << tr("True conflicts: %1").arg(report.trueConflicts)
          << tr("Versions of one object: %1").arg(report.versions)
          << tr("Copies of one file: %1").arg(report.Copies())
          << tr("Objects with no GUID: %1").arg(report.noGuid.size())
          << tr("Files with errors: %1").arg(check_->errors.size());
    return parts.join(QStringLiteral("   "));
}

QTreeWidgetItem* ConflictsWindow::Group(const SharedGuid& group) const {
    auto* row = new ReportRow({tr("GUID %1 \u00B7 %2 \u2014 %3, %4 objects")
                                   .arg(QString::fromStdString(GuidBoxes(group.guid)),
                                        QString::fromStdString(GuidValue(group.guid)), Kind(group))
                                   .arg(group.users.size())});
    row->setData(kFile, kGroupRole, true);
    row->setData(kFile, kGuidRole, QByteArray(reinterpret_cast<const char*>(group.guid.data()), 4));
    if (KindRank(group.kind) == KindRank(SharedGuidKind::DifferentObjects)) {
        QFont bold = row->font(kFile);
        bold.setBold(true);
        row->setFont(kFile, bold);
    }
    for (const GuidUser& user : group.users) {
        AddObject(row, user, group.guid);
    }
    return row;
}

QTreeWidgetItem* ConflictsWindow::NoGuidSection() const {
    const std::vector<GuidUser>& users = check_->report.noGuid;
    if (users.empty()) {
        return nullptr;
    }
    auto* section = new ReportRow({tr("Objects with no GUID (0000 0000): %1").arg(users.size())});
    for (const GuidUser& user : users) {
        AddObject(section, user, {});
    }
    return section;
}

void ConflictsWindow::AddObject(QTreeWidgetItem* parent, const GuidUser& user,
                                const std::array<std::uint8_t, 4>& guid) const {
    const ReadFiles& read = check_->read;
    const auto f = static_cast<std::size_t>(user.file);
    auto* row =
        new ReportRow(parent, {Shown(DecodeFileName(read.Path(f))), MemberShown(read.files[f]),
                               FromFileText(ObjectLabelFromEntry(ListText(read, user))),
                               QString::number(user.chunkId)});
    row->setData(kFile, kFileRole, user.file);
    row->setData(kFile, kIndexRole, user.index);
    row->setData(kFile, kGuidRole, QByteArray(reinterpret_cast<const char*>(guid.data()), 4));
    NameFile(row, user.file);
}

void ConflictsWindow::NameFile(QTreeWidgetItem* row, int file, const QString& message) const {
    const auto f = static_cast<std::size_t>(file);
    const QString path = QDir::toNativeSeparators(DecodeFileName(check_->read.Path(f)));
    const QString member = MemberShown(check_->read.files[f]);
    QString named = PrintableName(path);
    if (!member.isEmpty()) {
        named += QLatin1Char('\n') + tr("Member: %1").arg(member);
    }
    row->setData(kFile, kPathRole, path);
    row->setToolTip(kFile, named);
    row->setData(kFile, kDetailsRole,
                 message.isEmpty() ? named : named + QLatin1Char('\n') + message);
}

QTreeWidgetItem* ConflictsWindow::FileNotes(const QString& heading,
                                            const std::vector<FileError>& notes,
                                            bool errors) const {
    if (notes.empty()) {
        return nullptr;
    }
    auto* section = new ReportRow({heading.arg(notes.size())});
    // Read Chunks answers some errors, unless it made this report.
    const std::string reader =
        errors && !check_->readWarnings.readByChunks ? tr("Read Chunks").toStdString() : "";
    const ReadFiles& read = check_->read;
    int place = 0;
    for (const NoteGroup& group : GroupByReason(notes)) {
        auto* reason = new ReportRow(section, {FromUtf8(GroupLine(group, reader))});
        reason->setData(kFile, kOrderRole, place++);
        for (const std::size_t n : group.notes) {
            const FileError& note = notes[n];
            const auto f = static_cast<std::size_t>(note.file);
            const QString member = MemberShown(read.files[f]);
            auto* row = new ReportRow(
                reason, {Shown(DecodeFileName(read.Path(f))) +
                         (member.isEmpty() ? QString() : QStringLiteral(": ") + member) +
                         QStringLiteral(": ") + FromUtf8Line(note.error)});
            NameFile(row, note.file, FromUtf8Line(note.error));
        }
    }
    return section;
}

QString ConflictsWindow::Shown(const QString& path) const {
    // The folders checked are cleaned paths with the system's own separators;
    // the walk continues a path with the separator it already uses.
    const auto separator = [](QChar c) { return c == QLatin1Char('/') || c == QDir::separator(); };
    for (const QString& checked : paths_) {
        if (path == checked || (path.startsWith(checked) && separator(path.at(checked.size())))) {
            const QString above = QFileInfo(checked).path();
            return PrintableName(
                path.mid(separator(above.back()) ? above.size() : above.size() + 1));
        }
    }
    return PrintableName(path);
}

void ConflictsWindow::ApplyFilter(const QString& text) {
    // A path typed with '/' finds files named with the system's separator.
    const QString path = QDir::toNativeSeparators(text);
    const std::vector<std::array<std::uint8_t, 4>> guids = GuidsWritten(text.toStdString());
    const auto has = [&text](const QTreeWidgetItem* row, int column) {
        return row->text(column).contains(text, Qt::CaseInsensitive);
    };
    const auto guidMatches = [&guids](const QTreeWidgetItem* row) {
        return row->data(kFile, kGuidRole).isValid() &&
               std::find(guids.begin(), guids.end(), GuidOf(row)) != guids.end();
    };
    // A file's row: by its file or member, and an object's also by its label and GUID.
    const auto rowMatches = [&](const QTreeWidgetItem* row) {
        return text.isEmpty() || row->text(kFile).contains(path, Qt::CaseInsensitive) ||
               has(row, kMember) || has(row, kLabel) || guidMatches(row);
    };
    // Shows what matches below `item`; says whether anything does.
    const auto narrow = [&](auto& self, QTreeWidgetItem* item) -> bool {
        if (!item->data(kFile, kPathRole).isNull()) {
            const bool match = rowMatches(item);
            item->setHidden(!match);
            return match;
        }
        bool any = false;
        for (int c = 0; c < item->childCount(); ++c) {
            any = self(self, item->child(c)) || any;
        }
        item->setHidden(item->childCount() > 0 && !any);
        return any || item->childCount() == 0;
    };
    for (int g = 0; g < view_->topLevelItemCount(); ++g) {
        QTreeWidgetItem* top = view_->topLevelItem(g);
        if (!top->data(kFile, kGroupRole).toBool()) {
            narrow(narrow, top);
            continue;
        }
        // A group shows whole: the objects that share the GUID belong together.
        bool match = has(top, kFile) || guidMatches(top);
        for (int o = 0; o < top->childCount() && !match; ++o) {
            match = rowMatches(top->child(o));
        }
        top->setHidden(!match);
        for (int o = 0; o < top->childCount(); ++o) {
            top->child(o)->setHidden(false);
        }
    }
}

void ConflictsWindow::Activate(QTreeWidgetItem* item) {
    const QVariant file = item->data(kFile, kFileRole);
    if (file.isValid()) {
        emit OpenObject(check_->read.Item(file.toUInt()), item->data(kFile, kIndexRole).toInt());
    }
}

void ConflictsWindow::ShowDetails() {
    const QList<QTreeWidgetItem*> selected = view_->selectedItems();
    details_->setText(selected.isEmpty() ? QString()
                                         : selected[0]->data(kFile, kDetailsRole).toString());
}

void ConflictsWindow::ShowRowMenu(QTreeWidgetItem* item, const QPoint& at) {
    const QString path = item ? item->data(kFile, kPathRole).toString() : QString();
    if (path.isEmpty()) {
        return;  // a heading
    }
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto copy = [menu](const QString& name, const QString& text) {
        menu->addAction(name, menu, [text] { QGuiApplication::clipboard()->setText(text); });
    };
    const bool object = item->data(kFile, kFileRole).isValid();
    if (object) {
        copy(tr("Copy GUID"), QString::fromStdString(GuidBoxes(GuidOf(item))));
        copy(tr("Copy GUID Value"), QString::fromStdString(GuidValue(GuidOf(item))));
    }
    copy(tr("Copy Path"), path);
    menu->addAction(tr("Show in Folder"), this, [this, path] { desktop_.ShowInFolder(path); });
    if (object) {
        menu->setDefaultAction(menu->addAction(tr("Open"), this, [this, item] { Activate(item); }));
    }
    menu->popup(at);
}

void ConflictsWindow::SaveReport() {
    if (savePath_.isEmpty()) {
        savePath_ = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                        .filePath(tr("GUID Conflicts.txt"));
    }
    QString filter =
        QFileInfo(savePath_).suffix() == QLatin1String("json") ? kJsonFilter : kTextFilter;
    QString path = desktop_.AskSaveFile(this, savePath_,
                                        kTextFilter + QStringLiteral(";;") + kJsonFilter, &filter);
    if (path.isEmpty()) {
        return;
    }
    const bool json = filter == kJsonFilter;
    if (QFileInfo(path).suffix().isEmpty()) {
        path += json ? QStringLiteral(".json") : QStringLiteral(".txt");
    }
    path = QDir::toNativeSeparators(path);
    if (IsReadFile(path)) {
        desktop_.ShowMessage(this,
                             tr("The report was not saved as \"%1\": it is never written over "
                                "an object file, an archive or a file that was checked.")
                                 .arg(path),
                             tr("Save Report"));
        return;
    }
    std::ostringstream out;
    PrintGuidCheck(json ? *MakeJsonPrinter(out) : *MakeTextPrinter(out), *check_);
    const std::string bytes = out.str();
    // All or nothing: the file is replaced only once the whole report is written.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        desktop_.ShowMessage(this, tr("Could not save \"%1\": %2").arg(path, file.errorString()),
                             tr("Save Report"));
        return;
    }
    savePath_ = path;
}

bool ConflictsWindow::IsReadFile(const QString& path) const {
    const QFileInfo target(path);
    for (const char* kind : {"iff", "far"}) {
        if (target.suffix().compare(QLatin1String(kind), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    if (!target.exists()) {
        return false;
    }
    // The same file under another name, through a link or a letter case.
    return std::any_of(
        check_->read.paths.begin(), check_->read.paths.end(),
        [&target](const std::string& read) { return QFileInfo(DecodeFileName(read)) == target; });
}

bool ConflictsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu && view_ && watched == view_->viewport()) {
        const auto* asked = static_cast<QContextMenuEvent*>(event);
        // From the keyboard the menu is the current row's, under it.
        QTreeWidgetItem* item = asked->reason() == QContextMenuEvent::Keyboard
                                    ? view_->currentItem()
                                    : view_->itemAt(asked->pos());
        const QPoint at =
            asked->reason() == QContextMenuEvent::Keyboard && item
                ? view_->viewport()->mapToGlobal(view_->visualItemRect(item).bottomLeft())
                : asked->globalPos();
        ShowRowMenu(item, at);
        return true;
    }
    // Ctrl+C in the filter box copies the report unless text is selected there.
    if (watched == filter_ && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy) &&
        !filter_->hasSelectedText()) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace marrowick
