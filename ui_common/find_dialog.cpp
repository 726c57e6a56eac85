#include "find_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include "file_name_text.h"

namespace marrowick {

FindDialog::FindDialog(const FindRequest& start, Desktop& desktop, QWidget* parent)
    : QDialog(parent), desktop_(desktop) {
    setWindowTitle(tr("Find Objects"));
    setAcceptDrops(true);

    query_ = new QLineEdit(start.query, this);
    query_->setObjectName(QStringLiteral("Query"));
    query_->setPlaceholderText(
        tr("A GUID in any form (2843 EAB9, 0xB9EA4328), a label or a catalog name"));
    query_->setClearButtonEnabled(true);
    query_->selectAll();
    // Wide enough for the placeholder, which says what may be typed, and the clear button.
    query_->setMinimumWidth(query_->fontMetrics().horizontalAdvance(query_->placeholderText()) +
                            query_->fontMetrics().height() * 3);
    auto* queryLabel = new QLabel(tr("&Find:"), this);
    queryLabel->setBuddy(query_);

    folders_ = new QListWidget(this);
    folders_->setObjectName(QStringLiteral("Folders"));
    folders_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    folders_->setTextElideMode(Qt::ElideMiddle);
    for (const QString& path : start.folders) {
        AddPath(path);
    }
    auto* foldersLabel = new QLabel(tr("I&n:"), this);
    foldersLabel->setBuddy(folders_);
    foldersLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* add = new QPushButton(tr("&Add Folder\u2026"), this);
    add->setObjectName(QStringLiteral("AddFolder"));
    remove_ = new QPushButton(tr("&Remove"), this);
    remove_->setObjectName(QStringLiteral("Remove"));
    auto* hint = new QLabel(tr("Drop folders, object files or archives here to add them."), this);
    hint->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    find_ = buttons->addButton(tr("Find"), QDialogButtonBox::AcceptRole);
    find_->setObjectName(QStringLiteral("Find"));
    find_->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);

    auto* side = new QVBoxLayout;
    side->addWidget(add);
    side->addWidget(remove_);
    side->addStretch();
    auto* grid = new QGridLayout;
    grid->addWidget(queryLabel, 0, 0);
    grid->addWidget(query_, 0, 1, 1, 2);
    grid->addWidget(foldersLabel, 1, 0);
    grid->addWidget(folders_, 1, 1);
    grid->addLayout(side, 1, 2);
    grid->addWidget(hint, 2, 1, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    connect(query_, &QLineEdit::textChanged, this, &FindDialog::UpdateButtons);
    connect(folders_, &QListWidget::itemSelectionChanged, this, &FindDialog::UpdateButtons);
    connect(add, &QPushButton::clicked, this, &FindDialog::AskFolder);
    connect(remove_, &QPushButton::clicked, this, [this] {
        qDeleteAll(folders_->selectedItems());
        UpdateButtons();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateButtons();
    query_->setFocus();
}

FindRequest FindDialog::Request() const {
    FindRequest request{query_->text().trimmed(), {}};
    for (int row = 0; row < folders_->count(); ++row) {
        request.folders << folders_->item(row)->data(Qt::UserRole).toString();
    }
    return request;
}

void FindDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalPaths(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void FindDialog::dropEvent(QDropEvent* event) {
    const QStringList paths = LocalPaths(event->mimeData());
    if (paths.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    for (const QString& path : paths) {
        AddPath(path);
    }
    UpdateButtons();
}

void FindDialog::AddPath(const QString& path) {
    // As the search will name it: absolute, cleaned, with the system's separators.
    const QString absolute =
        QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    for (int row = 0; row < folders_->count(); ++row) {
        if (folders_->item(row)->data(Qt::UserRole).toString() == absolute) {
            return;
        }
    }
    auto* item = new QListWidgetItem(PrintableName(absolute), folders_);
    item->setData(Qt::UserRole, absolute);
    item->setToolTip(PrintableName(absolute));
}

void FindDialog::AskFolder() {
    const QListWidgetItem* last = folders_->item(folders_->count() - 1);
    const QString folder =
        desktop_.AskFolder(this, last ? last->data(Qt::UserRole).toString() : QString());
    if (!folder.isEmpty()) {
        AddPath(folder);
        UpdateButtons();
    }
}

void FindDialog::UpdateButtons() {
    find_->setEnabled(!query_->text().trimmed().isEmpty() && folders_->count() > 0);
    remove_->setEnabled(!folders_->selectedItems().isEmpty());
}

}  // namespace marrowick
