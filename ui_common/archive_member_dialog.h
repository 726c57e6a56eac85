// The dialog that picks one object file out of an archive: its members' names
// and sizes, narrowed by a filter as the user types.
#pragma once

#include <QDialog>
#include <QList>

#include "desktop.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace marrowick {

class MemberTable;

class ArchiveMemberDialog final : public QDialog {
    Q_OBJECT
  public:
    ArchiveMemberDialog(const QString& archiveName, const QList<ArchiveMemberChoice>& members,
                        QWidget* parent = nullptr);

    // The index in the members given of the entry selected, or -1 when none is.
    int ChosenMember() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ApplyFilter(const QString& text);
    void ShowChoice();

    MemberTable* table_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QTreeView* view_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace marrowick
