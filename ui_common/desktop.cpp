#include "desktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

#include <unistd.h>
#include <cstdio>

#include "archive_member_dialog.h"
#include "find_dialog.h"

namespace marrowick {

QString QtDesktop::AskOpenFile(QWidget* parent, const QString& startFolder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), startFolder, filter);
}

QString QtDesktop::AskFolder(QWidget* parent, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(parent, QString(), startFolder);
}

QString QtDesktop::AskSaveFile(QWidget* parent, const QString& startPath, const QString& filters,
                               QString* selectedFilter) {
    QFileDialog dialog(parent, QString(), startPath, filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (selectedFilter && !selectedFilter->isEmpty()) {
        dialog.selectNameFilter(*selectedFilter);
    }
    // A name typed without an extension gets the filter's, before the dialog
    // asks whether to replace a file of that name.
    const auto suffixOf = [](const QString& filter) {
        return QRegularExpression(QStringLiteral(R"(\*\.(\w+))")).match(filter).captured(1);
    };
    dialog.setDefaultSuffix(suffixOf(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    if (selectedFilter) {
        *selectedFilter = dialog.selectedNameFilter();
    }
    return dialog.selectedFiles().constFirst();
}

void QtDesktop::ShowMessage(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);  // file names and texts are never markup
    box.exec();
}

bool QtDesktop::ShowMessageWithButton(QWidget* parent, const QString& text, const QString& caption,
                                      const QString& button) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    const QAbstractButton* second = box.addButton(button, QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == second;
}

int QtDesktop::ChooseArchiveMember(QWidget* parent, const QString& archiveName,
                                   const QList<ArchiveMemberChoice>& members) {
    ArchiveMemberDialog dialog(archiveName, members, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.ChosenMember() : -1;
}

std::optional<FindRequest> QtDesktop::AskFind(QWidget* parent, const FindRequest& start) {
    FindDialog dialog(start, *this, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Request();
}

void QtDesktop::OpenWebAddress(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

void QtDesktop::EndProgram() {
    // End at once, as the design asks: no window's close or destroy step runs.
    // The kernel closes any open file.
    std::fflush(nullptr);
    ::_exit(0);
}

}  // namespace marrowick
