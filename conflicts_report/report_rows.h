// What the windows that list a collection's objects share: the rows that name
// an object or a file read, how they sort, their tooltips and menu, the paths
// they show, and how the list and its window are sized.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTreeWidgetItem>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "guid_check.h"

class QTreeWidget;
class QWidget;

namespace marrowick {

class Desktop;

// The columns every such list begins with.
enum ReportColumn { kFile, kMember, kLabel, kId };
// What a row holds beyond its texts, in its File column.
enum ReportRole {
    kFileRole = Qt::UserRole,  // an object's file: its position in the collection
    kIndexRole,                // and the object's in the file
    kGroupRole,                // a group's heading
    kGuidRole,                 // an object's GUID: four bytes
    kPathRole,     // the full path of the file a row names (for a member, the archive's)
    kOrderRole,    // a heading's place in the list
    kDetailsRole,  // what the details under the list say of the row
};

// A row that sorts among its siblings: the headings keep the list's order
// whatever the column, Id sorts by number and File by full path.
class ReportRow final : public QTreeWidgetItem {
  public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override;
};

QByteArray GuidData(const std::array<std::uint8_t, 4>& guid);
std::array<std::uint8_t, 4> GuidOf(const QTreeWidgetItem* row);

// A message on one line.
QString FromUtf8Line(const std::string& text);
// The member's name of a file read from an archive; empty for any other.
QString MemberShown(const ListedFile& file);
// `path` below the folder that holds the one of `checked` it lies in.
QString ShownPath(const QStringList& checked, const QString& path);

// Why a read of `checked` found nothing to look at, a line each: no object
// file found, and what the walk met.
QStringList NoObjectFile(const QStringList& checked, const CollectionRead& read);

// A row for object `index` of file `file` of `read`: its File, Member, Label
// and Id, what it names, and `guid`, which it is listed under.
ReportRow* ObjectRow(const ReadFiles& read, const QStringList& checked, int file, int index,
                     const std::array<std::uint8_t, 4>& guid);
// Gives a row that names file `file` of `read` its path, tooltip and details.
void NameFile(QTreeWidgetItem* row, const ReadFiles& read, int file, const QString& message = {});
// A section of files with errors (or warnings), by reason, under `heading`
// (with %1 for their count); nothing without notes. `reader` names what reads
// files by their chunks, where the run did not.
QTreeWidgetItem* FileNotes(const QString& heading, const std::vector<FileError>& notes,
                           const ReadFiles& read, const QStringList& checked,
                           const std::string& reader);

// `view`, or in its place `whyEmpty` when there is nothing to list: what a
// window lays out where its list goes.
QWidget* ListOrWhyEmpty(QWidget& window, QTreeWidget& view, bool listed, const QString& whyEmpty);

// Sizes the columns to their contents and `window` to them, within the screen.
void FitToContents(QWidget& window, QTreeWidget& view);

// Gives the rows of `view` that name a file a menu (right-click or the menu
// key): Copy Path and Show in Folder, and for an object Copy GUID, Copy GUID
// Value and Open, which calls `open`.
void AddRowMenu(QTreeWidget& view, Desktop& desktop, std::function<void(QTreeWidgetItem*)> open);

}  // namespace marrowick
