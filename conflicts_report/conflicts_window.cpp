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
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <sstream>

#include "file_name_text.h"
#include "guid_check_dialog.h"
#include "messages.h"
#include "object_list.h"
#include "window_look.h"

namespace marrowick {
namespace {

enum Column { kFile, kMember, kLabel, kId };
enum Role { kFileRole = Qt::UserRole, kIndexRole, kGroupRole };

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
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), paths_(paths), check_(std::move(check)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(CheckTitle(paths_));

    auto* summary = new QLabel(Summary(), this);
    summary->setObjectName(QStringLiteral("Summary"));
    summary->setTextFormat(Qt::PlainText);
    summary->setWordWrap(true);

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
    FillView();

    auto* readChunks = new QPushButton(tr("Read Chunks"), this);
    readChunks->setObjectName(QStringLiteral("ReadChunks"));
    readChunks->setToolTip(
        tr("Check again, reading the files that have no resource map by their chunks"));
    readChunks->setVisible(!check_->readWarnings.readByChunks && HasNoMap(check_->errors));
    auto* hint = new QLabel(tr("Double-click an object to open it in the main window."), this);
    auto* copy = new QPushButton(tr("Copy Report"), this);
    copy->setObjectName(QStringLiteral("CopyReport"));
    auto* close = new QPushButton(tr("Close"), this);
    auto* copyAction = new QAction(tr("Copy Report"), this);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WindowShortcut);
    addAction(copyAction);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filter_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(readChunks);
    buttons->addWidget(hint, 1);
    buttons->addWidget(copy);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addLayout(filterRow);
    layout->addWidget(view_);
    layout->addLayout(buttons);
    resize(760, 480);

    const auto copyReport = [this] { QGuiApplication::clipboard()->setText(ReportText()); };
    connect(copy, &QPushButton::clicked, this, copyReport);
    connect(copyAction, &QAction::triggered, this, copyReport);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(readChunks, &QPushButton::clicked, this, [this] { emit ReadChunks(paths_); });
    connect(filter_, &QLineEdit::textChanged, this, &ConflictsWindow::ApplyFilter);
    connect(view_, &QTreeWidget::itemActivated, this, &ConflictsWindow::Activate);
    view_->setFocus();
}

QString ConflictsWindow::ReportText() const {
    std::ostringstream out;
    PrintGuidCheck(*MakeTextPrinter(out), *check_);
    return QString::fromStdString(out.str());
}

void ConflictsWindow::FillView() {
    std::vector<const SharedGuid*> groups;
    for (const SharedGuid& group : check_->report.shared) {
        groups.push_back(&group);
    }
    std::stable_partition(groups.begin(), groups.end(),
                          [](const SharedGuid* g) { return g->kind != SharedGuidKind::Copies; });
    QList<QTreeWidgetItem*> rows;
    for (const SharedGuid* group : groups) {
        rows << Group(*group);
    }
    if (!check_->report.noGuid.empty()) {
        auto* section = new QTreeWidgetItem(
            {tr("Objects with no GUID (0000 0000): %1").arg(check_->report.noGuid.size())});
        for (const GuidUser& user : check_->report.noGuid) {
            AddObject(section, user);
        }
        rows << section;
    }
    rows << FileNotes(tr("Files with errors: %1"), check_->errors)
         << FileNotes(tr("Files read with warnings: %1"), check_->readWarnings.warnings);
    rows.removeAll(nullptr);
    view_->addTopLevelItems(rows);
    // Headings, and the rows of the file notes, take the whole width.
    for (QTreeWidgetItem* row : std::as_const(rows)) {
        row->setFirstColumnSpanned(true);
        for (int child = 0; child < row->childCount(); ++child) {
            if (!row->child(child)->data(kFile, kFileRole).isValid()) {
                row->child(child)->setFirstColumnSpanned(true);
            }
        }
    }
    view_->expandAll();
    view_->header()->setStretchLastSection(false);
    view_->header()->setSectionResizeMode(kFile, QHeaderView::Stretch);
    for (int column : {kMember, kLabel, kId}) {
        view_->resizeColumnToContents(column);
        view_->setColumnWidth(column,
                              view_->columnWidth(column) + fontMetrics().averageCharWidth() * 3);
    }
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
          << tr("Copies of one file: %1").arg(report.Copies())
          << tr("Objects with no GUID: %1").arg(report.noGuid.size())
          << tr("Files with errors: %1").arg(check_->errors.size());
    return parts.join(QStringLiteral("   "));
}

QTreeWidgetItem* ConflictsWindow::Group(const SharedGuid& group) const {
    auto* row =
        new QTreeWidgetItem({tr("GUID %1 \u00B7 %2 \u2014 %3, %4 objects")
                                 .arg(QString::fromStdString(GuidBoxes(group.guid)),
                                      QString::fromStdString(GuidValue(group.guid)), Kind(group))
                                 .arg(group.users.size())});
    row->setData(kFile, kGroupRole, true);
    if (group.kind != SharedGuidKind::Copies) {
        QFont bold = row->font(kFile);
        bold.setBold(true);
        row->setFont(kFile, bold);
    }
    for (const GuidUser& user : group.users) {
        AddObject(row, user);
    }
    return row;
}

void ConflictsWindow::AddObject(QTreeWidgetItem* parent, const GuidUser& user) const {
    const ReadFiles& read = check_->read;
    const auto f = static_cast<std::size_t>(user.file);
    auto* row = new QTreeWidgetItem(
        parent,
        {Shown(DecodeFileName(read.Path(f))), MemberShown(read.files[f]),
         FromFileText(ObjectLabelFromEntry(ListText(read, user))), QString::number(user.chunkId)});
    row->setData(kFile, kFileRole, user.file);
    row->setData(kFile, kIndexRole, user.index);
}

QTreeWidgetItem* ConflictsWindow::FileNotes(const QString& heading,
                                            const std::vector<FileError>& notes) const {
    if (notes.empty()) {
        return nullptr;
    }
    auto* section = new QTreeWidgetItem({heading.arg(notes.size())});
    const ReadFiles& read = check_->read;
    for (const FileError& note : notes) {
        const auto f = static_cast<std::size_t>(note.file);
        const QString member = MemberShown(read.files[f]);
        new QTreeWidgetItem(section,
                            {Shown(DecodeFileName(read.Path(f))) +
                             (member.isEmpty() ? QString() : QStringLiteral(": ") + member) +
                             QStringLiteral(": ") + FromUtf8Line(note.error)});
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
    for (int g = 0; g < view_->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = view_->topLevelItem(g);
        if (!group->data(kFile, kGroupRole).toBool()) {
            continue;  // the sections after the groups stay
        }
        bool match = group->text(kFile).contains(text, Qt::CaseInsensitive);
        for (int o = 0; o < group->childCount() && !match; ++o) {
            const QTreeWidgetItem* row = group->child(o);
            match = row->text(kFile).contains(path, Qt::CaseInsensitive) ||
                    row->text(kMember).contains(text, Qt::CaseInsensitive) ||
                    row->text(kLabel).contains(text, Qt::CaseInsensitive);
        }
        group->setHidden(!match);
    }
}

void ConflictsWindow::Activate(QTreeWidgetItem* item) {
    const QVariant file = item->data(kFile, kFileRole);
    if (file.isValid()) {
        emit OpenObject(check_->read.Item(file.toUInt()), item->data(kFile, kIndexRole).toInt());
    }
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
