#include "conflicts_window.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
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
#include "report_rows.h"
#include "window_look.h"

namespace marrowick {
namespace {

// More files of one reason than this start folded.
constexpr int kOpenReasonFiles = 10;

const QString kTextFilter = QStringLiteral("Text (*.txt)");
const QString kJsonFilter = QStringLiteral("JSON lines (*.json)");

QString Kind(const SharedGuid& group) {
    return FromUtf8(std::string(KindName(group.kind)));
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
    AddRowMenu(*view_, desktop_, [this](QTreeWidgetItem* item) { Activate(item); });
    const bool listed = FillView();
    // With nothing to list, the list's place says why.
    QWidget* list = ListOrWhyEmpty(*this, *view_, listed, Explanation().join(QLatin1Char('\n')));
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
    FitToContents(*this, *view_);

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
    // Read Chunks answers some errors, unless it made this report.
    const std::string reader =
        check_->readWarnings.readByChunks ? "" : tr("Read Chunks").toStdString();
    rows << NoGuidSection()
         << FileNotes(tr("Files with errors: %1"), check_->errors, check_->read, paths_, reader)
         << FileNotes(tr("Files read with warnings: %1"), check_->readWarnings.warnings,
                      check_->read, paths_, "");
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
    return NoObjectFile(paths_, *check_);
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
    row->setData(kFile, kGuidRole, GuidData(group.guid));
    if (KindRank(group.kind) == KindRank(SharedGuidKind::DifferentObjects)) {
        QFont bold = row->font(kFile);
        bold.setBold(true);
        row->setFont(kFile, bold);
    }
    for (const GuidUser& user : group.users) {
        row->addChild(ObjectRow(check_->read, paths_, user.file, user.index, group.guid));
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
        section->addChild(ObjectRow(check_->read, paths_, user.file, user.index, {}));
    }
    return section;
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
