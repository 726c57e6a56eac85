// What the main window's tests share: a desktop that answers dialogs and records
// what the window asks of it, and one window with its reader and editor.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "desktop.h"
#include "frm_main.h"
#include "iff_builder.h"
#include "parse_iff.h"
#include "score_frm.h"

namespace marrowick::test {

class FakeDesktop final : public Desktop {
  public:
    struct Message {
        QString text;
        QString caption;
        QString button;  // the second button, if the box had one
    };

    // Answers for the open dialog, in order; an empty answer is a cancel.
    QStringList answers;
    int dialogsShown = 0;
    QString lastStartFolder;
    QString lastFilter;
    QList<Message> messages;
    // Answers for boxes with a second button, in order: true presses it. With
    // no answer left, the user presses OK.
    QList<bool> buttonAnswers;
    // Runs as each message is shown, for what a test must see at that moment.
    std::function<void(const Message&)> onMessage;
    QStringList openedAddresses;
    int endCalls = 0;

    QString AskOpenFile(QWidget* parent, const QString& startFolder,
                        const QString& filter) override;
    void ShowMessage(QWidget* parent, const QString& text, const QString& caption) override;
    bool ShowMessageWithButton(QWidget* parent, const QString& text, const QString& caption,
                               const QString& button) override;
    void OpenWebAddress(const QString& address) override { openedAddresses << address; }
    void EndProgram() override { ++endCalls; }
};

// One run of the program: the reader, the desktop, the editor and the window.
struct Harness {
    Harness();
    ParseIFF parse;
    FakeDesktop desktop;
    ScoreFrm editor{parse, desktop};
    FrmMain window{parse, editor, desktop};

    // Answers the dialog with `path` and clicks "Open IFF File".
    void Open(const QString& path);
    void ClickButton(const char* name);
    // Clicks entry `row` of the object list as a user would.
    void ClickEntry(int row);

    template <typename Control>
    Control* Find(const char* name) const {
        return window.findChild<Control*>(QLatin1String(name));
    }
    QStringList ListTexts() const;
};

// Writes `bytes` to `name` inside `dir`; returns the full path.
QString WriteFixture(const QTemporaryDir& dir, const QString& name, const Bytes& bytes);

// A valid object file with one object whose definition is `def` and, unless
// `withCatalog` is false, catalog texts `name`/`description`; `thumbnail` (when
// not empty) becomes its BMP_ chunk.
Bytes OneObjectFile(const ObjectDefinition& def, bool withCatalog = true,
                    const std::string& name = "Chair",
                    const std::string& description = "A comfy chair", const Bytes& thumbnail = {},
                    const std::string& label = "Chair");

// A valid object file that defines no objects.
Bytes NoObjectsFile();

}  // namespace marrowick::test
