// The main window: opening an object file, the object list, the detail view of
// the selected object, the about panel, and the end of the program.
#pragma once

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

#include "desktop.h"
#include "messages.h"

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace marrowick {

class Desktop;
class ParseIFF;
class ScoreFrm;
struct ArchiveContents;
struct ArchiveMember;
struct ObjectFileItem;

class FrmMain : public QWidget, public MessageSink {
    Q_OBJECT
  public:
    FrmMain(ParseIFF& parse, ScoreFrm& editor, Desktop& desktop, QWidget* parent = nullptr);
    ~FrmMain() override;

    // The path of the file chosen last (empty at start).
    QString CurrentFile() const;
    // The object shown in the detail view, or -1 when none is.
    int CurrentObject() const { return CurrentObject_; }
    // Every selection of the list goes through here: it always raises
    // List1_Click, also when `index` is already the selected entry.
    void SetListIndex(int index);

    // The expanded view brings the detail view into the window.
    bool DetailsShown() const { return detailsShown_; }
    void SetDetailsShown(bool shown);

    // Opens `path`, or its archive member `member`, as Open IFF File would, and
    // selects object `index` when the file lists it.
    void OpenObject(const QString& path, const ArchiveMember* member, int index);

    // MessageSink: the reader's messages, shown once per user action.
    void ShowMessage(const std::string& text, const std::string& caption) override;
    // The message for a file whose resource map cannot be used (it has none, or
    // the file is cut short), whose box offers "Read Chunks".
    bool ShowNoResourceMap(const std::string& text, const std::string& caption) override;

    // The fixed texts of the open dialog and the about panel.
    static const QString kStartFolder;
    static const QString kFileFilter;
    static const QString kMakerAddress;
    static const QString kWorkshopAddress;
    static const QString kReadChunks;

  signals:
    // List1_Click has filled the detail view for `object`.
    void ObjectShown(int object);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A handler run on behalf of the user; the outermost one starts a fresh
    // record of the messages shown.
    class UserAction {
      public:
        explicit UserAction(FrmMain& window);
        ~UserAction();
        UserAction(const UserAction&) = delete;
        UserAction& operator=(const UserAction&) = delete;

      private:
        FrmMain& window_;
    };

    void CreateControls();
    void CreateAboutPanel();
    void CreateDetailView();
    void ApplyColours();
    void ConnectHandlers();

    void Form_Initialize();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Form_Unload();
    void List1_Click();
    void FillObjectList();

    // Steps 4 to 10 of opening: shared by the dialog and a dropped file. An
    // archive first asks which of its object files to open.
    void OpenChosenFile(const QString& chosen);
    void OpenArchiveMember(const QString& path, const ArchiveContents& archive);
    void OpenMember(const QString& path, const ArchiveMember& member);
    // Lists and shows what `fill` leaves in the index, after it has scanned
    // the file at `path` (or its archive member `member`) or refused it.
    void ShowOpened(const QString& path, const ArchiveMember* member,
                    const std::function<void()>& fill);
    // Leaves the index as a refused file does, and says why.
    void Refuse(const QString& why);
    // Says, where the window can without touching its designed texts, which
    // archive the file is in and whether the list came from the file's chunks;
    // then any warning of the scan (a walk that stopped, a file cut short),
    // naming the file as `name`.
    void ShowHowListed();
    void ShowScanWarnings(const QString& name);
    void ShowThumbnail(int thumbIndex);
    QImage ImageListPicture(int thumbIndex);
    void ClearDetailView();

    // Checking files and folders for objects that share a GUID, on a thread of
    // its own with a progress dialog; each check ends in a report window.
    void AskFolderToCheck();
    void CheckForConflicts(const QStringList& paths, bool readChunks);
    // Finding objects by GUID, label or catalog name the same way; each search
    // ends in a results window.
    void AskToFind();
    void FindObjectsIn(const QString& query, const QStringList& paths, bool readChunks);
    // Opens object `index` of `file`, found by a check or a search, and comes
    // to the front.
    void OpenFoundObject(const ObjectFileItem& file, int index);
    // Keeps a report or results window, to be closed with this one.
    void Keep(QWidget* report);

    ParseIFF& parse_;
    ScoreFrm& editor_;
    Desktop& desktop_;

    int CurrentObject_ = -1;
    QString dialogFolder_;
    QString archivePath_;  // the archive whose member is open, or empty
    // ImageList1: the decoded thumbnails of the current file by BMP_ row
    // (a null image for a chunk that does not decode); emptied at every open.
    QHash<int, QImage> ImageList1_;

    bool assigningIndex_ = false;
    int pressedCurrentRow_ = -1;
    bool detailsShown_ = false;
    int actionDepth_ = 0;
    QSet<QString> shownMessages_;
    QList<QPointer<QWidget>> reports_;  // windows of their own, closed with this one
    FindRequest lastFind_;              // what the last search in this run asked

    // The controls, named as designed; each one's objectName is its name.
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* Frame5 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* OBJDesc = nullptr;
    QLabel* Picture1 = nullptr;
    QLabel* Picture2 = nullptr;
    QLabel* ChunksNote = nullptr;  // expanded view only: the list came from the chunks
    QFrame* TreeView1 = nullptr;
    QListWidget* List1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* txtPrice = nullptr;
    QAction* ShowDetailsAction = nullptr;
    QAction* CheckFolderAction = nullptr;
    QAction* FindObjectsAction = nullptr;
};

}  // namespace marrowick
