// The report of a GUID check, in a window of its own: a summary, the GUIDs that
// more than one object uses (true conflicts first), the objects with no GUID
// and the files that could not be read. It copies as marrowick-inspect
// --conflicts prints it for the same paths.
#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>

#include "guid_check.h"

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace marrowick {

class ConflictsWindow final : public QWidget {
    Q_OBJECT
  public:
    // `paths` are the absolute files and folders that were checked.
    ConflictsWindow(const QStringList& paths, std::shared_ptr<const GuidCheck> check,
                    QWidget* parent = nullptr);

    // The report as marrowick-inspect --conflicts prints it.
    QString ReportText() const;

  signals:
    // An object was double-clicked: object `index` of `file`.
    void OpenObject(const marrowick::ObjectFileItem& file, int index);
    // Asks for the same check again, reading the files without a resource map,
    // or cut short before it, by their chunks.
    void ReadChunks(const QStringList& paths);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString Summary() const;
    // The groups, true conflicts first, then the objects with no GUID and the
    // files with errors or warnings.
    // The rows are made apart from the view and handed to it at once: adding
    // them one by one would update it thousands of times.
    void FillView();
    QTreeWidgetItem* Group(const SharedGuid& group) const;
    void AddObject(QTreeWidgetItem* parent, const GuidUser& user) const;
    QTreeWidgetItem* FileNotes(const QString& heading, const std::vector<FileError>& notes) const;
    // A file's path below the folder that holds the checked path it lies in.
    QString Shown(const QString& path) const;
    void ApplyFilter(const QString& text);
    void Activate(QTreeWidgetItem* item);

    const QStringList paths_;
    const std::shared_ptr<const GuidCheck> check_;
    QLineEdit* filter_ = nullptr;
    QTreeWidget* view_ = nullptr;
};

}  // namespace marrowick
