#include "entries.h"

#include "checks.h"
#include "cp1252.h"
#include "guid_listing.h"
#include "object_list.h"

namespace marrowick::fuzz {
namespace {

// The order in which the attribute editor decodes an object.
constexpr AttributeGroup kGroups[] = {ScoreGroup, ValueGroup, SkillGroup, BuyModeGroup, GuidGroup};

bool IsGuidText(const std::string& text) {
    if (text.size() != 4) {
        return false;
    }
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) {
            return false;
        }
    }
    return true;
}

void CheckCategory(const std::array<Category, 9>& table, int flags, const std::string& name,
                   int index) {
    Require(flags >= 0 && flags <= 255, "room and type flags are one byte");
    Require(index >= -1 && index <= 8, "category positions are -1 to 8");
    if (index >= 0) {
        const Category& row = table[static_cast<std::size_t>(index)];
        Require(row.flags == flags && name == row.name, "a category position names its row");
    }
    Require(IsUtf8(name), "category names are UTF-8");
}

void CheckAttributes(const ParseIFF& parse, int object) {
    const ObjectAttributeRow& a = parse.ObjectAttributes[static_cast<std::size_t>(object)];
    for (const std::string* guid : {&a.GuidHex1, &a.GuidHex2, &a.OrigGuidHex1, &a.OrigGuidHex2,
                                    &a.CloneGuidHex1, &a.CloneGuidHex2}) {
        Require(IsGuidText(*guid), "GUID texts are four upper-case hex digits");
    }
    CheckCategory(kRoomCategories, a.RoomFlags, parse.RoomName, parse.RoomIndex);
    CheckCategory(kTypeCategories, a.TypeFlags, parse.TypeName, parse.TypeIndex);
}

void CheckCatalogText(const ParseIFF& parse, int entry) {
    for (const std::string* text : {&parse.CatalogName, &parse.CatalogDescription}) {
        Require(text->size() <= ParseIFF::kMaxTextBytes, "catalog texts are bounded");
        Require(text->find('\0') == std::string::npos, "catalog texts end at their zero byte");
        Require(IsUtf8(Cp1252ToUtf8(*text)), "catalog texts convert to UTF-8");
    }
    if (entry == -1) {
        Require(parse.CatalogName == kNoDescriptionName, "no CTSS row gives the fixed name");
    }
}

// The object list, then every object's reads as the detail view and the editor
// make them, and every CTSS row's texts, linked or not.
std::vector<ObjectListEntry> DecodeChecked(Scan& scan) {
    ParseIFF& parse = scan.parse;
    const std::vector<ObjectListEntry> entries = FillObjectList(parse);
    Require(entries.size() == static_cast<std::size_t>(parse.ObjdCount), "one entry per object");
    const int scanMessages = scan.sink.shown;
    for (int i = 0; i < parse.ObjdCount; ++i) {
        const ObjectListEntry& entry = entries[static_cast<std::size_t>(i)];
        Require(entry.ItemData >= -1 && entry.ItemData < parse.CtssCount,
                "catalog links name a CTSS row or none");
        const int thumb = parse.ThumbIndex[static_cast<std::size_t>(i)];
        Require(thumb >= -1 && thumb < parse.BmpCount, "thumbnail links name a BMP_ row or none");
        Require(ObjectLabelFromEntry(entry.Text) == parse.ObjdLabel[static_cast<std::size_t>(i)],
                "the label comes back from its list entry");
        Require(IsUtf8(Cp1252ToUtf8(entry.Text)), "list entries convert to UTF-8");

        {
            // The detail view: one open file for the selection's reads.
            ParseIFF::FileScope open(parse);
            parse.ReadObjectAttributes(i, ValueGroup);
            parse.ReadObjectAttributes(i, BuyModeGroup);
            parse.ReadCatalogText(entry.ItemData);
        }
        CheckCatalogText(parse, entry.ItemData);
        Require(parse.FileNum == -1, "no file stays open after a scope");
        // The editor's groups, each reopening the file.
        for (AttributeGroup group : kGroups) {
            parse.ReadObjectAttributes(i, group);
        }
        CheckAttributes(parse, i);
        Require(parse.FileNum == -1, "no file stays open after a decode");
    }
    {
        // Rows no object links to still hold texts in either layout.
        ParseIFF::FileScope open(parse);
        for (int j = 0; j < parse.CtssCount; ++j) {
            parse.ReadCatalogText(j);
            CheckCatalogText(parse, j);
        }
    }
    Require(parse.FileNum == -1, "no file stays open after a scope");
    Require(scan.sink.shown == scanMessages, "decoding a readable file reports nothing");
    return entries;
}

// The GUID listing reads the same GUIDs through the scan's open file, walking
// the chunks when the scan did; it must agree with the decoder object by object.
void CheckListing(const Scan& scan, const std::vector<ObjectListEntry>& entries) {
    const ParseIFF& parse = scan.parse;
    auto scratch = std::make_unique<ParseIFF>();
    const GuidListing listing =
        ListObjectGuids(*scratch, parse.CurrentFile, parse.ReadBy == IndexSource::Chunks);
    Require(listing.readBy == parse.ReadBy && listing.warnings == parse.ScanWarnings,
            "the listing reads the file as the scan does");
    Require(listing.error == scan.sink.first, "the listing fails as the scan does");
    Require(listing.objects.size() == entries.size(), "the listing has every object");
    for (const ObjectGuid& object : listing.objects) {
        const auto row = static_cast<std::size_t>(object.index);
        const ObjectAttributeRow& a = parse.ObjectAttributes[row];
        static constexpr char kDigits[] = "0123456789ABCDEF";
        std::string hex;
        for (std::uint8_t byte : object.guid) {
            hex += {kDigits[byte >> 4], kDigits[byte & 15]};
        }
        Require(object.listText == entries[row].Text && hex == a.GuidHex1 + a.GuidHex2,
                "the listing agrees with the decoder");
    }
}

}  // namespace

void ScanEntry(std::span<const std::uint8_t> bytes) {
    ScanBothWays(bytes);
}

void DecodeEntry(std::span<const std::uint8_t> bytes) {
    const std::unique_ptr<BothScans> scans = ScanBothWays(bytes);
    CheckListing(scans->designed, DecodeChecked(scans->designed));
    // Otherwise the walked index is the designed one, already decoded.
    if (scans->walked.parse.ReadBy == IndexSource::Chunks) {
        CheckListing(scans->walked, DecodeChecked(scans->walked));
    }
}

}  // namespace marrowick::fuzz
