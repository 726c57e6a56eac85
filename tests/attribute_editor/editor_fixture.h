// What the editor's window tests share: an object file written to a temporary
// folder and scanned as the main window does, a desktop that never blocks,
// and short ways to reach the editor's controls by name.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <string>
#include <vector>

#include "desktop.h"
#include "iff_builder.h"
#include "object_list.h"
#include "parse_iff.h"

class QComboBox;

namespace marrowick::test {

class QuietDesktop final : public Desktop {
  public:
    // The open dialog's answers, in order; none left is a cancel.
    QString AskOpenFile(QWidget*, const QString&, const QString&) override {
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    void ShowMessage(QWidget*, const QString& text, const QString&) override {
        messages.push_back(text);
    }
    bool ShowMessageWithButton(QWidget*, const QString& text, const QString&,
                               const QString&) override {
        messages.push_back(text);
        return false;
    }
    void OpenWebAddress(const QString&) override {}
    void EndProgram() override {}

    QStringList answers;
    std::vector<QString> messages;
};

class EditorFixture {
  public:
    // Writes the file, then scans and lists it as opening it in the main
    // window would.
    void Load(const IffBuilder& builder);
    // A file of one object "Chair", chunk id 128, with these fields.
    void LoadObject(const ObjectDefinition& definition, const std::string& label = "Chair");

    QString EntryText(int index) const;
    Bytes FileBytes() const { return ReadFile(path_); }

    ParseIFF parse;
    QuietDesktop desktop;

  private:
    QTemporaryDir dir_;
    std::string path_;
    std::vector<ObjectListEntry> entries_;
};

// A definition whose every decoded field is distinct.
ObjectDefinition SampleDefinition();

// Switches the editor's window to the details arrangement through its
// "Show details" entry, as the context menu does.
void ShowDetails(QWidget* window, bool on = true);

// Picks an entry from a combo box's list with the mouse, as a user does.
void ChooseEntry(QComboBox* combo, int position);

template <typename T>
T* Control(const QWidget* window, const QString& name) {
    return window->findChild<T*>(name);
}

}  // namespace marrowick::test
