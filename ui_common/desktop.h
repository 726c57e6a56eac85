// Everything the windows do that blocks or leaves the process goes through this
// interface, so tests can answer dialogs, capture messages and watch the program
// end without anything blocking or exiting.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class QWidget;

namespace marrowick {

// An object file inside an archive, as the user is offered it.
struct ArchiveMemberChoice {
    QString name;  // as stored, folders included
    std::uint64_t size = 0;
};

// What to find and where: the query as typed, and the files and folders.
struct FindRequest {
    QString query;
    QStringList folders;
};

class Desktop {
  public:
    virtual ~Desktop() = default;

    // Shows the file-open dialog; returns the chosen full path, or an empty
    // string when the user cancels. `filter` uses Qt's ";;" separated form.
    virtual QString AskOpenFile(QWidget* parent, const QString& startFolder,
                                const QString& filter) = 0;

    // Shows the toolkit's folder dialog; returns the chosen folder, or an empty
    // string when the user cancels.
    virtual QString AskFolder(QWidget* parent, const QString& startFolder) = 0;

    // Shows the file-save dialog at `startPath` (a folder and a proposed name),
    // offering `filters` in Qt's ";;" separated form. `selectedFilter` holds the
    // filter offered first and receives the one the user picked. Returns the
    // chosen path, or an empty string when the user cancels.
    virtual QString AskSaveFile(QWidget* parent, const QString& startPath, const QString& filters,
                                QString* selectedFilter) = 0;

    // A modal message box with an OK button only and no icon.
    virtual void ShowMessage(QWidget* parent, const QString& text, const QString& caption) = 0;

    // The same box with a second button, `button`, beside OK. OK stays the
    // default, and Enter, Escape and the close box answer OK. Returns true when
    // the user pressed `button`.
    virtual bool ShowMessageWithButton(QWidget* parent, const QString& text, const QString& caption,
                                       const QString& button) = 0;

    // Lets the user pick one of the object files of the archive `archiveName`;
    // returns its index in `members`, or -1 when the user cancels.
    virtual int ChooseArchiveMember(QWidget* parent, const QString& archiveName,
                                    const QList<ArchiveMemberChoice>& members) = 0;

    // Asks what to find and where, starting from `start`; nothing when the
    // user cancels.
    virtual std::optional<FindRequest> AskFind(QWidget* parent, const FindRequest& start) = 0;

    // Asks the desktop to open a web address; the result is ignored.
    virtual void OpenWebAddress(const QString& address) = 0;

    // Shows the folder that holds the file or folder `path` in the system's file
    // manager, with `path` selected where the system can; the result is ignored.
    virtual void ShowInFolder(const QString& path) = 0;

    // Ends the program at once: no further window event runs.
    virtual void EndProgram() = 0;
};

// The real desktop: Qt's dialogs, QDesktopServices or the system's file
// manager, and an immediate exit.
class QtDesktop final : public Desktop {
  public:
    QString AskOpenFile(QWidget* parent, const QString& startFolder,
                        const QString& filter) override;
    QString AskFolder(QWidget* parent, const QString& startFolder) override;
    QString AskSaveFile(QWidget* parent, const QString& startPath, const QString& filters,
                        QString* selectedFilter) override;
    void ShowMessage(QWidget* parent, const QString& text, const QString& caption) override;
    bool ShowMessageWithButton(QWidget* parent, const QString& text, const QString& caption,
                               const QString& button) override;
    int ChooseArchiveMember(QWidget* parent, const QString& archiveName,
                            const QList<ArchiveMemberChoice>& members) override;
    std::optional<FindRequest> AskFind(QWidget* parent, const FindRequest& start) override;
    void OpenWebAddress(const QString& address) override;
    // In show_in_folder_<system>.cpp.
    void ShowInFolder(const QString& path) override;
    void EndProgram() override;
};

}  // namespace marrowick
