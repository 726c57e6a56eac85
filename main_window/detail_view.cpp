// The detail view of the selected object: its price, buy-mode categories,
// catalog texts and thumbnail, decoded afresh from the file at every selection.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>

#include <cstdint>

#include "frm_main.h"
#include "parse_iff.h"
#include "thumbnail.h"
#include "window_look.h"

namespace marrowick {

namespace {

// Catalog texts break lines with CR LF; a label breaks them at LF alone.
QString DisplayLines(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

const QString kDescriptionCaption = QStringLiteral("Description: ");

}  // namespace

void FrmMain::List1_Click() {
    UserAction action(*this);
    const int row = List1->currentRow();
    if (row < 0) {
        return;
    }
    CurrentObject_ = row;
    const auto CurrentCatalogEntry =
        static_cast<std::int16_t>(List1->item(row)->data(Qt::UserRole).toInt());

    ParseIFF::FileScope open(parse_);  // one descriptor for this selection's reads
    parse_.ReadObjectAttributes(CurrentObject_, ValueGroup);
    parse_.ReadObjectAttributes(CurrentObject_, BuyModeGroup);
    const ObjectAttributeRow& attributes = parse_.ObjectAttributes[static_cast<std::size_t>(row)];
    txtPrice->setText(QString::number(attributes.Price));
    Text1->setText(FromUtf8(parse_.RoomName));
    Text2->setText(FromUtf8(parse_.TypeName));

    Frame1->setTitle(kDescriptionCaption);
    OBJDesc->clear();
    parse_.ReadCatalogText(CurrentCatalogEntry);
    Frame1->setTitle(LiteralCaption(kDescriptionCaption + FromFileText(parse_.CatalogName)));
    OBJDesc->setText(DisplayLines(FromFileText(parse_.CatalogDescription)));

    ShowThumbnail(parse_.ThumbIndex[static_cast<std::size_t>(row)]);
    emit ObjectShown(CurrentObject_);
}

void FrmMain::ShowThumbnail(int thumbIndex) {
    const QImage image = thumbIndex >= 0 ? ImageListPicture(thumbIndex) : QImage();
    if (image.isNull()) {
        Picture1->setPixmap(Picture2->pixmap());
        return;
    }
    const QSize room = Picture1->contentsRect().size();
    Picture1->setPixmap(
        QPixmap::fromImage(image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

QImage FrmMain::ImageListPicture(int thumbIndex) {
    // The file's own catalog thumbnail, decoded once per open.
    const auto cached = ImageList1_.constFind(thumbIndex);
    if (cached != ImageList1_.cend()) {
        return *cached;
    }
    const QImage image = DecodeThumbnail(parse_.ReadThumbnailBytes(thumbIndex));
    ImageList1_.insert(thumbIndex, image);
    return image;
}

void FrmMain::ClearDetailView() {
    // An open that lists nothing leaves nothing of the previous file in view.
    CurrentObject_ = -1;
    txtPrice->clear();
    Text1->clear();
    Text2->clear();
    Frame1->setTitle(QStringLiteral("Description:"));
    OBJDesc->clear();
    Picture1->clear();
}

}  // namespace marrowick
