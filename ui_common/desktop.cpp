#include "desktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <unistd.h>
#include <cstdio>

#include "archive_member_dialog.h"

namespace marrowick {

QString QtDesktop::AskOpenFile(QWidget* parent, const QString& startFolder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), startFolder, filter);
}

QString QtDesktop::AskFolder(QWidget* parent, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(parent, QString(), startFolder);
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
