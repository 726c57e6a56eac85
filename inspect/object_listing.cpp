#include "object_listing.h"

#include <QJsonArray>

#include "cp1252.h"
#include "file_bytes.h"
#include "object_list.h"

namespace marrowick::inspect {
namespace {

QString FromFile(const std::string& bytes) {
    return QString::fromStdString(Cp1252ToUtf8(bytes));
}

QJsonArray HexPair(const std::string& first, const std::string& second) {
    return {QString::fromStdString(first), QString::fromStdString(second)};
}

void PrintObject(Printer& p, const ObjectRecord& o) {
    const ObjectAttributeRow& a = o.attributes;
    p.BeginRecord();
    p.Value("index", o.index, "Index");
    p.Value("label", FromFile(o.label), "Label");
    p.Value("chunk_id", o.chunkId, "Id");
    p.Value("list_text", FromFile(o.listText));
    p.Value("catalog_id", o.catalogId);
    p.Value("ctss_entry", o.ctssEntry);
    p.Value("thumb_index", o.thumbIndex);
    p.Value("guid", HexPair(a.GuidHex1, a.GuidHex2), "GUID");
    p.Value("original_guid", HexPair(a.OrigGuidHex1, a.OrigGuidHex2), "Original GUID");
    p.Value("clone_guid", HexPair(a.CloneGuidHex1, a.CloneGuidHex2));
    p.Value("price", a.Price, "Price");
    p.Value("sale_price", a.SalePrice);
    p.Value("initial_depreciation", a.InitialDepreciation);
    p.Value("daily_depreciation", a.DailyDepreciation);
    p.Value("self_depreciating", a.SelfDepreciating);
    p.Value("depreciation_limit", a.DepreciationLimit);
    p.Value("room_flags", a.RoomFlags);
    p.Value("type_flags", a.TypeFlags);
    p.Value("room_name", FromFile(o.roomName), "Room");
    p.Value("type_name", FromFile(o.typeName), "Type");
    p.Value("room_index", o.roomIndex);
    p.Value("type_index", o.typeIndex);
    p.BeginRecord("scores");
    p.Value("hunger", a.HungerScore);
    p.Value("comfort", a.ComfortScore);
    p.Value("hygiene", a.HygieneScore);
    p.Value("bladder", a.BladderScore);
    p.Value("energy", a.EnergyScore);
    p.Value("fun", a.FunScore);
    p.Value("room", a.RoomScore);
    p.EndRecord();
    p.Value("skill_flag", a.SkillFlag);
    QJsonArray boxes;
    for (int bit : SkillBoxesToTick(a.SkillFlag)) {
        boxes.append(bit);
    }
    p.Value("skill_boxes", boxes);
    p.Value("catalog_name", FromFile(o.catalogName), "Catalog name");
    p.Value("catalog_description", FromFile(o.catalogDescription));
    p.EndRecord();
}

QJsonValue ReadByValue(IndexSource readBy) {
    switch (readBy) {
        case IndexSource::ResourceMap:
            return QStringLiteral("resource map");
        case IndexSource::Chunks:
            return QStringLiteral("chunks");
        case IndexSource::None:
            break;
    }
    return QJsonValue(QJsonValue::Null);
}

QJsonArray TextList(const std::vector<std::string>& texts) {
    QJsonArray list;
    for (const std::string& text : texts) {
        list.append(QString::fromStdString(text));
    }
    return list;
}

}  // namespace

FileListing ListFile(ParseIFF& parse, FileBytes& file, const std::string& path, bool readChunks) {
    FirstMessage messages(readChunks);
    parse.SetMessageSink(&messages);
    parse.CurrentFile = path;
    parse.CurrentRange = file.range();
    parse.ScanObjectFile(file, path);
    std::vector<ObjectListEntry> entries = FillObjectList(parse);

    FileListing listing;
    listing.objects.reserve(entries.size());
    // One descriptor serves every decoder call for this file.
    ParseIFF::FileScope open(parse, file);
    for (std::size_t i = 0; i < entries.size() && messages.first.empty(); ++i) {
        const int index = static_cast<int>(i);
        // The editor's loading order; every object is decoded afresh, so no value
        // of an earlier object or file can show through.
        static constexpr AttributeGroup kLoadingOrder[] = {ScoreGroup, ValueGroup, SkillGroup,
                                                           BuyModeGroup, GuidGroup};
        parse.ReadObjectAttributes(index, kLoadingOrder);
        parse.ReadCatalogText(entries[i].ItemData);

        ObjectRecord& o = listing.objects.emplace_back();
        o.index = index;
        o.label = ObjectLabelFromEntry(entries[i].Text);
        o.listText = std::move(entries[i].Text);
        o.chunkId = parse.ObjdChunkId[i];
        o.catalogId = parse.CatalogId[i];
        o.ctssEntry = entries[i].ItemData;
        o.thumbIndex = parse.ThumbIndex[i];
        o.attributes = parse.ObjectAttributes[i];
        o.roomName = parse.RoomName;
        o.typeName = parse.TypeName;
        o.roomIndex = parse.RoomIndex;
        o.typeIndex = parse.TypeIndex;
        o.catalogName = parse.CatalogName;
        o.catalogDescription = parse.CatalogDescription;
    }
    parse.SetMessageSink(nullptr);
    listing.error = std::move(messages.first);
    if (!listing.error.empty()) {
        listing.objects.clear();
    } else {
        listing.readBy = parse.ReadBy;
        listing.warnings = parse.ScanWarnings;
    }
    return listing;
}

void PrintFileListing(Printer& printer, const QString& shownPath, const FileListing& listing,
                      bool showReadBy, const std::optional<QJsonValue>& member) {
    printer.BeginRecord();
    if (member) {
        printer.Value("file", shownPath, "Archive");
        printer.Value("member", *member, "Member");
    } else {
        printer.Value("file", shownPath, "File");
    }
    printer.Value("error", listing.error.empty()
                               ? QJsonValue(QJsonValue::Null)
                               : QJsonValue(QString::fromStdString(listing.error)));
    if (showReadBy) {
        printer.Value("read_by", ReadByValue(listing.readBy), "Read by");
    }
    if (showReadBy || !listing.warnings.empty()) {
        printer.Value("warnings", TextList(listing.warnings));
    }
    printer.BeginList("objects", "Objects");
    for (const ObjectRecord& object : listing.objects) {
        PrintObject(printer, object);
    }
    printer.EndList();
    printer.EndRecord();
}

}  // namespace marrowick::inspect
