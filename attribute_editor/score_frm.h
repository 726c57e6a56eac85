// The attribute editor ("GUID" window). One ScoreFrm lives for the whole run and
// keeps the form-level fields; its window is created at each loading and
// destroyed at each close.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace marrowick {

class Desktop;
class ParseIFF;

class ScoreFrm : public QObject {
    Q_OBJECT
public:
    ScoreFrm(ParseIFF& parse, Desktop& desktop, QObject* parent = nullptr);
    ~ScoreFrm() override;

    // "Get GUID!": loads the window unless it is open (loading decodes object
    // `currentObject`, whose list entry text is `entryText`), then shows it
    // modeless without an owner and brings it to the front.
    void Open(int currentObject, const QString& entryText);

    bool IsOpen() const;
    // The open window, or nullptr when the editor is closed.
    QWidget* window() const;

private:
    ParseIFF& parse_;
    Desktop& desktop_;
    QPointer<QWidget> window_;
};

}  // namespace marrowick
