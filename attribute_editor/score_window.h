// The attribute editor's window: it creates its controls, fills them at
// loading and forwards every event to ScoreFormState, which keeps the rules.
#pragma once

#include <QDialog>

#include "score_controls.h"

class QAction;
class QComboBox;

namespace marrowick {

class ScoreFormState;

class ScoreWindow final : public QDialog {
    Q_OBJECT
  public:
    explicit ScoreWindow(ScoreFormState& state);

    // Loading: decodes object `currentObject`, whose object list entry reads
    // `entryText`, and fills every control.
    void Form_Load(int currentObject, const QString& entryText);

    // The details arrangement brings the groups the design leaves outside the
    // window into view; off again, every control returns to its designed place.
    void ShowDetails(bool on);
    bool ShowsDetails() const;

    // Escape: the same as Cancel.
    void reject() override;

  signals:
    // The window has closed; it is deleted once control returns to the loop.
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ConnectEditTracking();
    void ConnectKeypadAndButtons();
    void ApplyLayout(bool details);
    void FillCategoryLists();
    // Selecting an entry from code reports a click every time, as a user's
    // choice does; a position outside the list selects nothing and shows the
    // decoder's name for the value instead.
    void SelectEntry(QComboBox* combo, int position, const QString& decodedName,
                     void (ScoreWindow::*click)());

    void Combo1_Click();
    void Combo2_Click();
    void Command1_Click(int index);
    void Command3_Click();
    void txtguid_Click(int index);
    void cmdOK_Click();
    void cmdCancel_Click();

    ScoreFormState& state_;
    ScoreControls controls_;
    QAction* details_ = nullptr;
};

}  // namespace marrowick
