// The attribute editor ("GUID" window). One ScoreFrm lives for the whole run and
// keeps the form-level fields; its window is created at each loading and
// destroyed at each close.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "score_form_state.h"

class QWidget;

namespace marrowick {

class Desktop;
class ParseIFF;
class ScoreWindow;

class ScoreFrm : public QObject {
    Q_OBJECT
  public:
    // The editor reports nothing itself; `desktop` is accepted so both windows
    // are built alike.
    ScoreFrm(ParseIFF& parse, Desktop& desktop, QObject* parent = nullptr);
    ~ScoreFrm() override;

    // "Get GUID!": loads the window unless it is open (loading decodes object
    // `currentObject`, whose list entry text is `entryText`), then shows it
    // modeless without an owner and brings it to the front. An open window
    // keeps the object it was loaded with.
    void Open(int currentObject, const QString& entryText);

    bool IsOpen() const;
    // The open window, or nullptr when the editor is closed.
    QWidget* window() const;
    ScoreWindow* scoreWindow() const;

    const ScoreFormState& State() const { return state_; }

  private:
    ParseIFF& parse_;
    ScoreFormState state_;
    QPointer<ScoreWindow> window_;
};

}  // namespace marrowick
