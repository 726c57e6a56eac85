// Creating the main window's controls, with their designed captions and looks.
#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

#include <initializer_list>

#include "designed_frame.h"
#include "frm_main.h"
#include "marrowick_version.h"
#include "placement.h"
#include "window_look.h"

namespace marrowick {

namespace {

template <typename Control>
Control* Make(QWidget* container, const char* name) {
    auto* control = new Control(container);
    control->setObjectName(QLatin1String(name));
    return control;
}

QPushButton* Button(QWidget* container, const char* name, const QString& caption) {
    auto* button = Make<QPushButton>(container, name);
    button->setText(caption);
    return button;
}

QGroupBox* Frame(QWidget* container, const char* name, const QString& caption) {
    auto* frame = Make<DesignedFrame>(container, name);
    frame->setTitle(caption);
    return frame;
}

QLabel* Label(QWidget* container, const char* name, const QString& caption) {
    auto* label = Make<QLabel>(container, name);
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    return label;
}

QLineEdit* LockedBox(QWidget* container, const char* name) {
    auto* box = Make<QLineEdit>(container, name);
    box->setReadOnly(true);
    return box;
}

QLabel* PictureBox(QWidget* container, const char* name) {
    auto* picture = Make<QLabel>(container, name);
    picture->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    picture->setAlignment(Qt::AlignCenter);
    return picture;
}

void MakeBold(QLabel* label) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
}

// The system's colours, set explicitly so that the window's dark blue does not
// reach the controls that were designed with the defaults.
void UseSystemColours(QWidget* control) {
    const QPalette system = QApplication::palette(control);
    QPalette palette;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = static_cast<QPalette::ColorGroup>(group);
            const auto r = static_cast<QPalette::ColorRole>(role);
            palette.setColor(g, r, system.color(g, r));
        }
    }
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

}  // namespace

void FrmMain::CreateControls() {
    setWindowTitle(QLatin1String(kAppTitle));
    // The positions are fixed pixels, so the text is too: the size the design's
    // captions were made to fit.
    QFont designed = font();
    designed.setPixelSize(10);
    setFont(designed);

    Command1 = Button(this, "Command1", QStringLiteral("Open IFF File"));
    Command2 = Button(this, "Command2", QStringLiteral("Exit"));

    Frame3 = Frame(this, "Frame3", QStringLiteral("Current IFF File Opened: "));
    Label1 = Label(Frame3, "Label1", QString());

    Frame4 = Frame(this, "Frame4", QStringLiteral("Select A Piece:"));
    List1 = Make<QListWidget>(Frame4, "List1");
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setToolTip(
        tr("Select a piece to read its details. Right-click the window or press Ctrl+D to "
           "show or hide the details."));

    Command3 = Button(this, "Command3", QStringLiteral("Get GUID!"));

    CreateAboutPanel();
    CreateDetailView();
    PlaceAsDesigned(*this);
    ApplyColours();

    ShowDetailsAction = new QAction(tr("Show details"), this);
    ShowDetailsAction->setObjectName(QStringLiteral("ShowDetailsAction"));
    ShowDetailsAction->setCheckable(true);
    ShowDetailsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    ShowDetailsAction->setShortcutContext(Qt::WindowShortcut);
    addAction(ShowDetailsAction);
    CheckFolderAction = new QAction(tr("Check a Folder for GUID Conflicts\u2026"), this);
    CheckFolderAction->setObjectName(QStringLiteral("CheckFolderAction"));
    CheckFolderAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    CheckFolderAction->setShortcutContext(Qt::WindowShortcut);
    addAction(CheckFolderAction);
    FindObjectsAction = new QAction(tr("Find Objects\u2026"), this);
    FindObjectsAction->setObjectName(QStringLiteral("FindObjectsAction"));
    FindObjectsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    FindObjectsAction->setShortcutContext(Qt::WindowShortcut);
    addAction(FindObjectsAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    setAcceptDrops(true);
}

void FrmMain::CreateAboutPanel() {
    Frame5 = Frame(this, "Frame5", QStringLiteral("About:"));
    Frame5->setToolTip(QStringLiteral("Marrowick %1").arg(QString::fromLatin1(kVersion)));
    Command4 = Button(Frame5, "Command4", QStringLiteral("Corvane"));
    Command5 = Button(Frame5, "Command5", QStringLiteral("The Tavisk Workshop"));
    Label8 = Label(Frame5, "Label8", tr("Programming:"));
    Label7 = Label(Frame5, "Label7", QStringLiteral("dev@corvane.example"));
    Label4 = Label(Frame5, "Label4", tr("Published by:"));
    Label9 = Label(Frame5, "Label9", QStringLiteral("corvane.example"));
    MakeBold(Label8);
    MakeBold(Label4);
}

void FrmMain::CreateDetailView() {
    // Designed outside the inner area: filled at every selection, seen only in
    // the expanded view.
    TreeView1 = Make<QFrame>(this, "TreeView1");
    TreeView1->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    Frame2 = Frame(this, "Frame2", QStringLiteral("Buy Mode:"));
    Label2 = Label(Frame2, "Label2", QStringLiteral("Room:"));
    Text1 = LockedBox(Frame2, "Text1");
    Label3 = Label(Frame2, "Label3", QStringLiteral("Type:"));
    Text2 = LockedBox(Frame2, "Text2");

    Picture2 = PictureBox(this, "Picture2");
    Picture2->setPixmap(QPixmap(QStringLiteral(":/main_window/placeholder.bmp")));
    Picture1 = PictureBox(this, "Picture1");

    Frame1 = Frame(this, "Frame1", QStringLiteral("Description:"));
    OBJDesc = Label(Frame1, "OBJDesc", QString());
    OBJDesc->setWordWrap(true);
    OBJDesc->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Label6 = Label(this, "Label6", QStringLiteral("Price:"));
    txtPrice = LockedBox(this, "txtPrice");

    // Not part of the designed layout: shown in the expanded view only.
    ChunksNote = Label(this, "ChunksNote", QString());
    ChunksNote->setWordWrap(true);
    ChunksNote->hide();
}

void FrmMain::ApplyColours() {
    SetColours(this, kDarkBlue, Qt::white);
    for (QWidget* control : std::initializer_list<QWidget*>{Frame3, Frame4, Frame5, Label1, Label4,
                                                            Label7, Label8, Label9, ChunksNote}) {
        SetColours(control, kDarkBlue, Qt::white);
    }
    for (QPushButton* button : {Command1, Command2, Command3, Command4, Command5}) {
        SetColours(button, Qt::white, Qt::black);
    }
    UseSystemColours(List1);
    // The controls out of view keep the system's colours.
    for (QWidget* control : std::initializer_list<QWidget*>{TreeView1, Frame2, Picture2, Picture1,
                                                            Frame1, Label6, txtPrice}) {
        UseSystemColours(control);
    }
}

}  // namespace marrowick
