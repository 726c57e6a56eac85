#include "report_rows.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

#include "desktop.h"
#include "file_name_text.h"
#include "file_notes.h"
#include "object_list.h"
#include "read_progress_dialog.h"
#include "window_look.h"

namespace marrowick {
namespace {

// Opens the row menu of the list whose viewport it watches.
class RowMenu final : public QObject {
  public:
    RowMenu(QTreeWidget& view, Desktop& desktop, std::function<void(QTreeWidgetItem*)> open)
        : QObject(&view), view_(view), desktop_(desktop), open_(std::move(open)) {
        view.viewport()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ContextMenu || watched != view_.viewport()) {
            return QObject::eventFilter(watched, event);
        }
        const auto* asked = static_cast<QContextMenuEvent*>(event);
        // From the keyboard the menu is the current row's, under it.
        const bool keyboard = asked->reason() == QContextMenuEvent::Keyboard;
        QTreeWidgetItem* item = keyboard ? view_.currentItem() : view_.itemAt(asked->pos());
        const QPoint at =
            keyboard && item
                ? view_.viewport()->mapToGlobal(view_.visualItemRect(item).bottomLeft())
                : asked->globalPos();
        Show(item, at);
        return true;
    }

  private:
    void Show(QTreeWidgetItem* item, const QPoint& at) {
        const QString path = item ? item->data(kFile, kPathRole).toString() : QString();
        if (path.isEmpty()) {
            return;  // a heading
        }
        auto* menu = new QMenu(&view_);
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
            menu->setDefaultAction(
                menu->addAction(tr("Open"), this, [this, item] { open_(item); }));
        }
        menu->popup(at);
    }

    QTreeWidget& view_;
    Desktop& desktop_;
    const std::function<void(QTreeWidgetItem*)> open_;
};

}  // namespace

bool ReportRow::operator<(const QTreeWidgetItem& other) const {
    const QVariant mine = data(kFile, kOrderRole);
    const QVariant theirs = other.data(kFile, kOrderRole);
    if (mine.isValid() && theirs.isValid()) {
        // A descending sort asks this with the rows turned round.
        const bool descending = treeWidget()->header()->sortIndicatorOrder() == Qt::DescendingOrder;
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
            return QString::compare(text(kMember), other.text(kMember), Qt::CaseInsensitive) < 0;
        default:
            return QTreeWidgetItem::operator<(other);
    }
}

QByteArray GuidData(const std::array<std::uint8_t, 4>& guid) {
    return QByteArray(reinterpret_cast<const char*>(guid.data()), 4);
}

std::array<std::uint8_t, 4> GuidOf(const QTreeWidgetItem* row) {
    const QByteArray bytes = row->data(kFile, kGuidRole).toByteArray();
    std::array<std::uint8_t, 4> guid{};
    std::copy_n(bytes.begin(), std::min<qsizetype>(bytes.size(), 4), guid.begin());
    return guid;
}

QString FromUtf8Line(const std::string& text) {
    return FromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

QString MemberShown(const ListedFile& file) {
    return file.kind == ObjectFileItem::Kind::Member ? FromFileText(file.member) : QString();
}

QString ShownPath(const QStringList& checked, const QString& path) {
    // The folders checked are cleaned paths with the system's own separators;
    // the walk continues a path with the separator it already uses.
    const auto separator = [](QChar c) { return c == QLatin1Char('/') || c == QDir::separator(); };
    for (const QString& folder : checked) {
        if (path == folder || (path.startsWith(folder) && separator(path.at(folder.size())))) {
            const QString above = QFileInfo(folder).path();
            return PrintableName(
                path.mid(separator(above.back()) ? above.size() : above.size() + 1));
        }
    }
    return PrintableName(path);
}

QStringList NoObjectFile(const QStringList& checked, const CollectionRead& read) {
    QStringList lines{QObject::tr("No object file was found in %1.").arg(CheckedPaths(checked)),
                      QObject::tr("Object files are the files whose names end in .iff, and the "
                                  "members of the archives (.far) whose names do.")};
    for (const std::string& notice : read.notices) {
        lines << FromUtf8Line(notice);
    }
    return lines;
}

ReportRow* ObjectRow(const ReadFiles& read, const QStringList& checked, int file, int index,
                     const std::array<std::uint8_t, 4>& guid) {
    const auto f = static_cast<std::size_t>(file);
    const ObjectGuid& object = read.Listing(f).objects[static_cast<std::size_t>(index)];
    auto* row = new ReportRow(QStringList{
        ShownPath(checked, DecodeFileName(read.Path(f))), MemberShown(read.files[f]),
        FromFileText(ObjectLabelFromEntry(object.listText)), QString::number(object.chunkId)});
    row->setData(kFile, kFileRole, file);
    row->setData(kFile, kIndexRole, index);
    row->setData(kFile, kGuidRole, GuidData(guid));
    NameFile(row, read, file);
    return row;
}

void NameFile(QTreeWidgetItem* row, const ReadFiles& read, int file, const QString& message) {
    const auto f = static_cast<std::size_t>(file);
    const QString path = QDir::toNativeSeparators(DecodeFileName(read.Path(f)));
    const QString member = MemberShown(read.files[f]);
    QString named = PrintableName(path);
    if (!member.isEmpty()) {
        named += QLatin1Char('\n') + QObject::tr("Member: %1").arg(member);
    }
    row->setData(kFile, kPathRole, path);
    row->setToolTip(kFile, named);
    row->setData(kFile, kDetailsRole,
                 message.isEmpty() ? named : named + QLatin1Char('\n') + message);
}

QTreeWidgetItem* FileNotes(const QString& heading, const std::vector<FileError>& notes,
                           const ReadFiles& read, const QStringList& checked,
                           const std::string& reader) {
    if (notes.empty()) {
        return nullptr;
    }
    auto* section = new ReportRow({heading.arg(notes.size())});
    int place = 0;
    for (const NoteGroup& group : GroupByReason(notes)) {
        auto* reason = new ReportRow(section, {FromUtf8(GroupLine(group, reader))});
        reason->setData(kFile, kOrderRole, place++);
        for (const std::size_t n : group.notes) {
            const FileError& note = notes[n];
            const auto f = static_cast<std::size_t>(note.file);
            const QString member = MemberShown(read.files[f]);
            auto* row = new ReportRow(
                reason, {ShownPath(checked, DecodeFileName(read.Path(f))) +
                         (member.isEmpty() ? QString() : QStringLiteral(": ") + member) +
                         QStringLiteral(": ") + FromUtf8Line(note.error)});
            NameFile(row, read, note.file, FromUtf8Line(note.error));
        }
    }
    return section;
}

QWidget* ListOrWhyEmpty(QWidget& window, QTreeWidget& view, bool listed, const QString& whyEmpty) {
    auto* empty = new QLabel(whyEmpty, &window);
    empty->setObjectName(QStringLiteral("Empty"));
    empty->setTextFormat(Qt::PlainText);
    empty->setWordWrap(true);
    empty->setAlignment(Qt::AlignCenter);
    empty->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* list = new QStackedWidget(&window);
    list->addWidget(&view);
    list->addWidget(empty);
    list->setCurrentWidget(listed ? static_cast<QWidget*>(&view) : empty);
    return list;
}

void FitToContents(QWidget& window, QTreeWidget& view) {
    QHeaderView* header = view.header();
    header->setSectionResizeMode(QHeaderView::Interactive);
    const int margin = window.fontMetrics().averageCharWidth() * 3;
    int others = 0;
    for (int column = kFile + 1; column < view.columnCount(); ++column) {
        view.resizeColumnToContents(column);
        view.setColumnWidth(column, view.columnWidth(column) + margin);
        others += view.isColumnHidden(column) ? 0 : view.columnWidth(column);
    }
    // The file column's widest name, measured on every row: Qt's own sizing
    // looks at the headings, which span the columns, and at a thousand rows only.
    int widest = header->fontMetrics().horizontalAdvance(view.headerItem()->text(kFile));
    for (QTreeWidgetItemIterator it(&view); *it; ++it) {
        if (!(*it)->isFirstColumnSpanned()) {
            widest = std::max(widest, view.fontMetrics().horizontalAdvance((*it)->text(kFile)));
        }
    }
    const QMargins around = window.layout()->contentsMargins();
    const int frame = around.left() + around.right() + view.frameWidth() * 2 +
                      window.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view);
    const QRect screenArea = window.screen()->availableGeometry();
    const int file =
        std::min(widest + view.indentation() * 2 + margin, screenArea.width() - frame - others);
    view.setColumnWidth(kFile, std::max(file, margin * 4));
    window.resize(std::min(std::max(window.minimumSizeHint().width(),
                                    frame + others + view.columnWidth(kFile)),
                           screenArea.width()),
                  std::min(520, screenArea.height()));
}

void AddRowMenu(QTreeWidget& view, Desktop& desktop, std::function<void(QTreeWidgetItem*)> open) {
    new RowMenu(view, desktop, std::move(open));
}

}  // namespace marrowick
