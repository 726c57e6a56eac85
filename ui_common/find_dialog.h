// The dialog of Find Objects: what to look for, a GUID in any written form, a
// label or a catalog name, and the folders (or files) to look in, added
// through the folder dialog or dropped on it.
#pragma once

#include <QDialog>

#include "desktop.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace marrowick {

class FindDialog final : public QDialog {
    Q_OBJECT
  public:
    // Starts with `start`'s query and folders; Add Folder asks `desktop`.
    FindDialog(const FindRequest& start, Desktop& desktop, QWidget* parent = nullptr);

    // The query, without blanks around it, and the folders and files listed.
    FindRequest Request() const;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Adds `path` unless it is listed already.
    void AddPath(const QString& path);
    void AskFolder();
    void UpdateButtons();

    Desktop& desktop_;
    QLineEdit* query_ = nullptr;
    QListWidget* folders_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* find_ = nullptr;
};

}  // namespace marrowick
