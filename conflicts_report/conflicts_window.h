// The report of a GUID check, in a window of its own: a summary, the GUIDs that
// more than one object uses (true conflicts first), the objects with no GUID
// and the files that could not be read, with the details of the row selected.
// It copies and saves as marrowick-inspect --conflicts prints it for the same
// paths; a row's menu copies its GUID or path and shows its folder.
#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>

#include "guid_check.h"

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace marrowick {

class Desktop;

class ConflictsWindow final : public QWidget {
    Q_OBJECT
  public:
    // `paths` are the absolute files and folders that were checked. Saving,
    // its messages and Show in Folder go through `desktop`.
    ConflictsWindow(const QStringList& paths, std::shared_ptr<const GuidCheck> check,
                    Desktop& desktop, QWidget* parent = nullptr);

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
    // Says whether there is anything to list.
    bool FillView();
    // Why no GUID is listed: no object file found (and what the walk met), or
    // none shared. A line each.
    QStringList Explanation() const;
    QTreeWidgetItem* Group(const SharedGuid& group) const;
    QTreeWidgetItem* NoGuidSection() const;
    void ApplyFilter(const QString& text);
    void Activate(QTreeWidgetItem* item);
    void ShowDetails();
    void SaveReport();
    // Whether writing `path` could touch an object file, an archive or a file read.
    bool IsReadFile(const QString& path) const;

    const QStringList paths_;
    const std::shared_ptr<const GuidCheck> check_;
    Desktop& desktop_;
    QString savePath_;  // where the dialog starts: the last place saved to
    QLineEdit* filter_ = nullptr;
    QTreeWidget* view_ = nullptr;
    QLabel* details_ = nullptr;
};

}  // namespace marrowick
