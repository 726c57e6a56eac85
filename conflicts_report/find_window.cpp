#include "find_window.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <sstream>

#include "messages.h"
#include "read_progress_dialog.h"
#include "report_rows.h"
#include "window_look.h"

namespace marrowick {
namespace {

// The columns after those every list of objects begins with.
enum FoundColumn { kGuidColumn = kId + 1, kCatalogColumn, kFoundByColumn };

}  // namespace

QString FindTitle(const QString& query, const QStringList& paths, bool readByChunks) {
    const QString title =
        FindWindow::tr("Find Objects \u2013 \u201C%1\u201D in %2").arg(query, CheckedPaths(paths));
    return readByChunks ? FindWindow::tr("%1 (read by chunks)").arg(title) : title;
}

FindWindow::FindWindow(const QString& query, const QStringList& paths,
                       std::shared_ptr<const ObjectSearch> search, Desktop& desktop,
                       QWidget* parent)
    : QWidget(parent, Qt::Window),
      query_(query),
      paths_(paths),
      search_(std::move(search)),
      desktop_(desktop) {
    setAttribute(Qt::WA_DeleteOnClose);
    const bool byChunks = search_->readWarnings.readByChunks.has_value();
    setWindowTitle(FindTitle(query_, paths_, byChunks));

    auto* summary = new QLabel(FromUtf8(SearchSummary(*search_)), this);
    summary->setObjectName(QStringLiteral("Summary"));
    summary->setTextFormat(Qt::PlainText);
    summary->setWordWrap(true);

    view_ = new QTreeWidget(this);
    view_->setObjectName(QStringLiteral("Results"));
    view_->setHeaderLabels({tr("File"), tr("Member"), tr("Label"), tr("Id"), tr("GUID"),
                            tr("Catalog name"), tr("Found by")});
    view_->setColumnHidden(kMember, !search_->archives);
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true);
    view_->setTextElideMode(Qt::ElideMiddle);  // a long folder keeps the file's name in view
    view_->setAllColumnsShowFocus(true);
    AddRowMenu(*view_, desktop_, [this](QTreeWidgetItem* item) { Activate(item); });
    FillView();
    // With nothing found, the list's place says so.
    QWidget* list = ListOrWhyEmpty(*this, *view_, !search_->found.empty(), Explanation());

    auto* readChunks = new QPushButton(tr("Read Chunks"), this);
    readChunks->setObjectName(QStringLiteral("ReadChunks"));
    readChunks->setToolTip(
        tr("Search again, reading the files that have no resource map by their chunks"));
    readChunks->setVisible(
        !byChunks && std::any_of(search_->errors.begin(), search_->errors.end(),
                                 [](const FileError& e) { return MapCannotBeUsed(e.error); }));
    auto* open = new QLabel(tr("Double-click an object to open it in the main window."), this);
    auto* copy = new QPushButton(tr("Copy Results"), this);
    copy->setObjectName(QStringLiteral("CopyResults"));
    auto* close = new QPushButton(tr("Close"), this);
    const auto copyResults = [this] { QGuiApplication::clipboard()->setText(ResultsText()); };
    for (const auto& [keys, handler] :
         {std::pair<QKeySequence, std::function<void()>>{QKeySequence::Copy, copyResults},
          {Qt::Key_Escape, [this] { this->close(); }}}) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, handler);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(readChunks);
    buttons->addWidget(open, 1);
    buttons->addWidget(copy);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(list, 1);
    if (QTreeWidget* unread = Unread()) {
        layout->addWidget(unread);
    }
    layout->addLayout(buttons);
    FitToContents(*this, *view_);

    connect(copy, &QPushButton::clicked, this, copyResults);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(readChunks, &QPushButton::clicked, this, [this] { emit ReadChunks(query_, paths_); });
    connect(view_, &QTreeWidget::itemActivated, this, &FindWindow::Activate);
    view_->setFocus();
}

QString FindWindow::ResultsText() const {
    std::ostringstream out;
    PrintObjectSearch(*MakeTextPrinter(out), *search_);
    return QString::fromStdString(out.str());
}

void FindWindow::FillView() {
    const ReadFiles& read = search_->read;
    QList<QTreeWidgetItem*> rows;
    for (const FoundObject& found : search_->found) {
        const auto f = static_cast<std::size_t>(found.file);
        const ObjectGuid& object = read.Listing(f).objects[static_cast<std::size_t>(found.index)];
        ReportRow* row = ObjectRow(read, paths_, found.file, found.index, object.guid);
        row->setText(kGuidColumn, QString::fromStdString(GuidBoxes(object.guid)));
        row->setText(kCatalogColumn, FromFileText(object.catalogName));
        row->setText(kFoundByColumn, FromUtf8(std::string(FoundByName(found.by))));
        rows << row;
    }
    view_->addTopLevelItems(rows);
    // The collection's order until a header is clicked.
    view_->header()->setSortIndicator(-1, Qt::AscendingOrder);
    view_->setSortingEnabled(true);
}

QString FindWindow::Explanation() const {
    if (search_->read.FilesRead() == 0) {
        return NoObjectFile(paths_, *search_).join(QLatin1Char('\n'));
    }
    QString text = tr("No object matches \u201C%1\u201D.").arg(query_);
    if (const std::string unread = UnreadItems(*search_); !unread.empty()) {
        text += QLatin1Char('\n') +
                tr("The search is incomplete: %1 could not be read in full.").arg(FromUtf8(unread));
    }
    return text;
}

QTreeWidget* FindWindow::Unread() {
    // Read Chunks answers some errors, unless it made this search.
    const std::string reader =
        search_->readWarnings.readByChunks ? "" : tr("Read Chunks").toStdString();
    QList<QTreeWidgetItem*> sections{
        FileNotes(tr("Files not searched: %1"), search_->errors, search_->read, paths_, reader),
        FileNotes(tr("Files read with warnings: %1"), search_->readWarnings.warnings, search_->read,
                  paths_, "")};
    sections.removeAll(nullptr);
    if (sections.isEmpty()) {
        return nullptr;
    }
    auto* unread = new QTreeWidget(this);
    unread->setObjectName(QStringLiteral("Unread"));
    unread->setHeaderHidden(true);
    unread->setUniformRowHeights(true);
    unread->setTextElideMode(Qt::ElideMiddle);
    unread->addTopLevelItems(sections);
    unread->expandAll();
    // As tall as its rows, up to eight: the results keep the room.
    int rows = 0;
    for (QTreeWidgetItemIterator it(unread); *it; ++it) {
        ++rows;
    }
    unread->setMaximumHeight(unread->frameWidth() * 2 +
                             unread->sizeHintForRow(0) * std::min(rows, 8));
    AddRowMenu(*unread, desktop_, [](QTreeWidgetItem*) {});
    return unread;
}

void FindWindow::Activate(QTreeWidgetItem* item) {
    const QVariant file = item->data(kFile, kFileRole);
    if (file.isValid()) {
        emit OpenObject(search_->read.Item(file.toUInt()), item->data(kFile, kIndexRole).toInt());
    }
}

}  // namespace marrowick
