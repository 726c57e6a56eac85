// The objects a search found, in a window of its own: where each lies, its
// label, id, GUID and catalog name and what the query matched; the files that
// could not be searched; a double-click opens an object in the main window.
#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>

#include "find_objects.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace marrowick {

class Desktop;

// "Find Objects – “Caprize Chair” in downloads, GameData", and "(read by
// chunks)" after it for a search that read files without a map so.
QString FindTitle(const QString& query, const QStringList& paths, bool readByChunks = false);

class FindWindow final : public QWidget {
    Q_OBJECT
  public:
    // `paths` are the absolute files and folders searched for `query`. Show
    // in Folder goes through `desktop`.
    FindWindow(const QString& query, const QStringList& paths,
               std::shared_ptr<const ObjectSearch> search, Desktop& desktop,
               QWidget* parent = nullptr);

    // The results as marrowick-inspect --find prints them.
    QString ResultsText() const;

  signals:
    // An object was double-clicked or opened: object `index` of `file`.
    void OpenObject(const marrowick::ObjectFileItem& file, int index);
    // Asks for the same search again, reading the files without a resource
    // map, or cut short before it, by their chunks.
    void ReadChunks(const QString& query, const QStringList& paths);

  private:
    void FillView();
    // Why the list is empty: nothing matches, or there was nothing to search;
    // and whether files went unsearched.
    QString Explanation() const;
    // The files that could not be read, or only in part, by reason; nothing
    // when every one was read whole.
    QTreeWidget* Unread();
    void Activate(QTreeWidgetItem* item);

    const QString query_;
    const QStringList paths_;
    const std::shared_ptr<const ObjectSearch> search_;
    Desktop& desktop_;
    QTreeWidget* view_ = nullptr;
};

}  // namespace marrowick
