#include "object_listing.h"

#include "cp1252.h"
#include "file_bytes.h"
#include "object_list.h"

namespace marrowick::inspect {
namespace {

void PrintObject(Printer& p, const ObjectRecord& o) {
    const ObjectAttributeRow& a = o.attributes;
    p.BeginRecord();
    p.Number("index", o.index, "Index");
    p.FileText("label", o.label, "Label");
    p.Number("chunk_id", o.chunkId, "Id");
    p.FileText("list_text", o.listText);
    p.Number("catalog_id", o.catalogId);
    p.Number("ctss_entry", o.ctssEntry);
    p.Number("thumb_index", o.thumbIndex);
    p.Texts("guid", {a.GuidHex1, a.GuidHex2}, "GUID");
    p.Texts("original_guid", {a.OrigGuidHex1, a.OrigGuidHex2}, "Original GUID");
    p.Texts("clone_guid", {a.CloneGuidHex1, a.CloneGuidHex2});
    p.Number("price", a.Price, "Price");
    p.Number("sale_price", a.SalePrice);
    p.Number("initial_depreciation", a.InitialDepreciation);
    p.Number("daily_depreciation", a.DailyDepreciation);
    p.Number("self_depreciating", a.SelfDepreciating);
    p.Number("depreciation_limit", a.DepreciationLimit);
    p.Number("room_flags", a.RoomFlags);
    p.Number("type_flags", a.TypeFlags);
    p.FileText("room_name", o.roomName, "Room");
    p.FileText("type_name", o.typeName, "Type");
    p.Number("room_index", o.roomIndex);
    p.Number("type_index", o.typeIndex);
    p.BeginRecord("scores");
    p.Number("hunger", a.HungerScore);
    p.Number("comfort", a.ComfortScore);
    p.Number("hygiene", a.HygieneScore);
    p.Number("bladder", a.BladderScore);
    p.Number("energy", a.EnergyScore);
    p.Number("fun", a.FunScore);
    p.Number("room", a.RoomScore);
    p.EndRecord();
    p.Number("skill_flag", a.SkillFlag);
    p.Numbers("skill_boxes", SkillBoxesToTick(a.SkillFlag));
    p.FileText("catalog_name", o.catalogName, "Catalog name");
    p.FileText("catalog_description", o.catalogDescription);
    p.EndRecord();
}

PrintValue ReadByValue(IndexSource readBy) {
    switch (readBy) {
        case IndexSource::ResourceMap:
            return "resource map";
        case IndexSource::Chunks:
            return "chunks";
        case IndexSource::None:
            break;
    }
    return {};
}

PrintValue TextList(const std::vector<std::string>& texts) {
    return std::vector<PrintValue>(texts.begin(), texts.end());
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

void PrintFileListing(Printer& printer, const std::string& path, const FileListing& listing,
                      bool showReadBy, const std::optional<PrintValue>& member) {
    printer.BeginRecord();
    if (member) {
        printer.Value("file", FileName{path}, "Archive");
        printer.Value("member", *member, "Member");
    } else {
        printer.Value("file", FileName{path}, "File");
    }
    printer.Value("error", listing.error.empty() ? PrintValue() : PrintValue(listing.error));
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
