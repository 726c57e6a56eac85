#include "window_harness.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QTest>

namespace marrowick::test {

QString FakeDesktop::AskOpenFile(QWidget*, const QString& startFolder, const QString& filter) {
    ++dialogsShown;
    lastStartFolder = startFolder;
    lastFilter = filter;
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

void FakeDesktop::ShowMessage(QWidget*, const QString& text, const QString& caption) {
    messages.append({text, caption, {}});
    if (onMessage) {
        onMessage(messages.last());
    }
}

bool FakeDesktop::ShowMessageWithButton(QWidget*, const QString& text, const QString& caption,
                                        const QString& button) {
    messages.append({text, caption, button});
    if (onMessage) {
        onMessage(messages.last());
    }
    return !buttonAnswers.isEmpty() && buttonAnswers.takeFirst();
}

Harness::Harness() {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        qWarning("the main window was not exposed");
    }
}

void Harness::Open(const QString& path) {
    desktop.answers << path;
    ClickButton("Command1");
}

void Harness::ClickButton(const char* name) {
    auto* button = Find<QAbstractButton>(name);
    QTest::mouseClick(button, Qt::LeftButton);
}

void Harness::ClickEntry(int row) {
    auto* list = Find<QListWidget>("List1");
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

QStringList Harness::ListTexts() const {
    QStringList texts;
    auto* list = Find<QListWidget>("List1");
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

QString WriteFixture(const QTemporaryDir& dir, const QString& name, const Bytes& bytes) {
    const QString path = dir.filePath(name);
    WriteFile(path.toStdString(), bytes);
    return path;
}

Bytes OneObjectFile(const ObjectDefinition& def, bool withCatalog, const std::string& name,
                    const std::string& description, const Bytes& thumbnail,
                    const std::string& label) {
    IffBuilder file;
    file.Object(128, label, def);
    if (withCatalog) {
        file.Chunk("CTSS", def.catalog_id, "", CatalogTexts(name, description));
    }
    if (!thumbnail.empty()) {
        file.Chunk("BMP_", def.catalog_id, "", thumbnail);
    }
    return file.Build();
}

Bytes NoObjectsFile() {
    IffBuilder file;
    file.Chunk("STR#", 128, "Strings", Bytes(16, 0));
    return file.Build();
}

}  // namespace marrowick::test
