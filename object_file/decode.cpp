// Decoding one object's definition fields and reading its thumbnail bitmap, each
// call reading the chunk in one block from the current file, opened read-only.
#include <algorithm>

#include "file_bytes.h"
#include "parse_iff.h"

namespace marrowick {

const std::array<Category, 9> kRoomCategories = {{{0, "Not Listed"},
                                                  {1, "Kitchen"},
                                                  {2, "Bedroom"},
                                                  {4, "Bathroom"},
                                                  {8, "Living Room"},
                                                  {16, "Outside"},
                                                  {32, "Dining Room"},
                                                  {64, "Misc"},
                                                  {128, "Study"}}};

const std::array<Category, 9> kTypeCategories = {{{0, "Not Listed"},
                                                  {1, "Seating"},
                                                  {2, "Surfaces"},
                                                  {4, "Appliances"},
                                                  {8, "Electronics"},
                                                  {16, "Plumbing"},
                                                  {32, "Decorative"},
                                                  {64, "Misc"},
                                                  {128, "Lighting"}}};

namespace {

// Object definition fields, as offsets from the start of the chunk (its 76-byte
// header included).
constexpr std::size_t kGuid = 104;
constexpr std::size_t kPrice = 112;
constexpr std::size_t kSalePrice = 144;
constexpr std::size_t kInitialDepreciation = 146;
constexpr std::size_t kDailyDepreciation = 148;
constexpr std::size_t kSelfDepreciating = 150;
constexpr std::size_t kDepreciationLimit = 152;
constexpr std::size_t kRoomFlags = 154;
constexpr std::size_t kTypeFlags = 156;
constexpr std::size_t kOriginalGuid = 216;
constexpr std::size_t kScores = 240;  // seven 16-bit scores
constexpr std::size_t kSkillFlag = 254;
// The attribute-clone GUID is the 32-bit field after the skill flag, a count and
// the misc flags (data offsets 184 to 187).
constexpr std::size_t kCloneGuid = 260;
constexpr std::size_t kDefinitionBytes = kCloneGuid + 4;

constexpr std::size_t kChunkHeaderBytes = 76;

std::int16_t Le16(const std::uint8_t* chunk, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(chunk[at] | chunk[at + 1] << 8));
}

// Two bytes as four upper-case hex digits, in file order, written over `out`
// (which keeps its buffer).
void SetHexPair(std::string& out, const std::uint8_t* chunk, std::size_t at) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out.resize(4);
    out[0] = kDigits[chunk[at] >> 4];
    out[1] = kDigits[chunk[at] & 15];
    out[2] = kDigits[chunk[at + 1] >> 4];
    out[3] = kDigits[chunk[at + 1] & 15];
}

// NameCategory's result written over `name` (which keeps its buffer) and `index`.
void SetCategory(const std::array<Category, 9>& table, int flags, std::string& name, int& index) {
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (table[row].flags == flags) {
            name.assign(table[row].name);
            index = static_cast<int>(row);
            return;
        }
    }
    CategoryNaming joined = NameCategory(table, flags);
    name = std::move(joined.name);
    index = joined.index;
}

bool ValidRow(int row) {
    return row >= 0 && row < kRows;
}

}  // namespace

std::string CannotOpenMessage(const std::string& path, const std::string& reason) {
    return "Could not open \"" + path + "\": " + reason + ".";
}

CategoryNaming NameCategory(const std::array<Category, 9>& table, int flags) {
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (table[row].flags == flags) {
            return {table[row].name, static_cast<int>(row)};
        }
    }
    // Several bits set: real files combine categories. Name every set bit so the
    // view never shows a category of some other object.
    std::string joined;
    for (const Category& category : table) {
        if (category.flags != 0 && (flags & category.flags) != 0) {
            joined += joined.empty() ? "" : ", ";
            joined += category.name;
        }
    }
    return {joined, -1};
}

ParseIFF::ParseIFF() = default;
ParseIFF::~ParseIFF() = default;

ParseIFF::FileScope::~FileScope() {
    if (--parse_.scope_depth_ == 0) {
        parse_.scoped_file_.reset();
        parse_.lent_file_ = nullptr;
        parse_.FileNum = -1;
    }
}

FileBytes* ParseIFF::OpenCurrentFile(std::unique_ptr<FileBytes>& local) {
    if (scope_depth_ > 0 && lent_file_ != nullptr) {
        FileNum = lent_file_->fd();
        return lent_file_->ok() ? lent_file_ : nullptr;
    }
    std::unique_ptr<FileBytes>& slot = scope_depth_ > 0 ? scoped_file_ : local;
    if (!slot) {
        slot = std::make_unique<FileBytes>(CurrentFile, CurrentRange);
        if (!slot->ok()) {
            Report(CannotOpenMessage(CurrentFile, slot->error()), kAppTitle);
        }
    }
    FileNum = slot->fd();
    return slot->ok() ? slot.get() : nullptr;
}

void ParseIFF::DoneWithFile() {
    if (scope_depth_ == 0) {
        FileNum = -1;  // the caller's local handle closes as it goes
    }
}

void ParseIFF::Report(const std::string& text, const std::string& caption) {
    if (sink_ != nullptr) {
        sink_->ShowMessage(text, caption);
    }
}

void ParseIFF::ReadObjectAttributes(int index, AttributeGroup group) {
    ReadObjectAttributes(index, std::span(&group, 1));
}

void ParseIFF::ReadObjectAttributes(int index, std::span<const AttributeGroup> groups) {
    if (!ValidRow(index)) {
        return;
    }
    const auto row = static_cast<std::size_t>(index);
    // Bytes that cannot be read (a file gone or cut short since the scan) count
    // as zero, so no value of another object or file survives a decode. The
    // fields are mostly taken straight from the cached block that holds them.
    std::uint8_t copy[kDefinitionBytes];  // zeroed only when it is used
    const std::uint8_t* chunk = copy;
    std::unique_ptr<FileBytes> local;
    FileBytes* file = OpenCurrentFile(local);
    if (file == nullptr) {
        std::fill(std::begin(copy), std::end(copy), std::uint8_t{0});
    } else {
        const auto at = static_cast<std::uint64_t>(ObjdChunkPos[row]);
        const std::span<const std::uint8_t> cached = file->Peek(at, kDefinitionBytes);
        if (!cached.empty()) {
            chunk = cached.data();
        } else {
            file->ReadInto(at, copy);
        }
    }
    DoneWithFile();
    for (const AttributeGroup group : groups) {
        DecodeAttributes(row, group, chunk);
    }
}

void ParseIFF::DecodeAttributes(std::size_t row, AttributeGroup group, const std::uint8_t* chunk) {
    ObjectAttributeRow& a = ObjectAttributes[row];
    switch (group) {
        case ValueGroup:
            a.Price = Le16(chunk, kPrice);
            a.SalePrice = Le16(chunk, kSalePrice);
            a.InitialDepreciation = Le16(chunk, kInitialDepreciation);
            a.DailyDepreciation = Le16(chunk, kDailyDepreciation);
            a.SelfDepreciating = Le16(chunk, kSelfDepreciating);
            a.DepreciationLimit = Le16(chunk, kDepreciationLimit);
            break;
        case GuidGroup:
            SetHexPair(a.GuidHex1, chunk, kGuid);
            SetHexPair(a.GuidHex2, chunk, kGuid + 2);
            SetHexPair(a.OrigGuidHex1, chunk, kOriginalGuid);
            SetHexPair(a.OrigGuidHex2, chunk, kOriginalGuid + 2);
            SetHexPair(a.CloneGuidHex1, chunk, kCloneGuid);
            SetHexPair(a.CloneGuidHex2, chunk, kCloneGuid + 2);
            break;
        case ScoreGroup:
            a.HungerScore = Le16(chunk, kScores);
            a.ComfortScore = Le16(chunk, kScores + 2);
            a.HygieneScore = Le16(chunk, kScores + 4);
            a.BladderScore = Le16(chunk, kScores + 6);
            a.EnergyScore = Le16(chunk, kScores + 8);
            a.FunScore = Le16(chunk, kScores + 10);
            a.RoomScore = Le16(chunk, kScores + 12);
            break;
        case BuyModeGroup: {
            // Only the low byte of each 16-bit field counts.
            a.RoomFlags = chunk[kRoomFlags];
            a.TypeFlags = chunk[kTypeFlags];
            SetCategory(kRoomCategories, a.RoomFlags, RoomName, RoomIndex);
            SetCategory(kTypeCategories, a.TypeFlags, TypeName, TypeIndex);
            break;
        }
        case SkillGroup:
            a.SkillFlag = Le16(chunk, kSkillFlag);
            break;
    }
}

std::vector<std::uint8_t> ParseIFF::ReadThumbnailBytes(int row) {
    if (row < 0 || row >= BmpCount) {
        return {};
    }
    std::unique_ptr<FileBytes> local;
    FileBytes* file = OpenCurrentFile(local);
    if (file == nullptr) {
        return {};
    }
    const auto chunk = static_cast<std::uint64_t>(BmpChunkPos[static_cast<std::size_t>(row)]);
    std::uint8_t sizeField[4];
    if (file->ReadInto(chunk + 4, sizeField) < 4) {
        DoneWithFile();
        return {};
    }
    const auto chunkSize = static_cast<std::uint64_t>(
        ReadBE32(sizeField[0], sizeField[1], sizeField[2], sizeField[3]));
    const std::uint64_t dataSize =
        chunkSize > kChunkHeaderBytes ? chunkSize - kChunkHeaderBytes : 0;
    std::vector<std::uint8_t> bytes = file->ReadUpTo(
        chunk + kChunkHeaderBytes,
        static_cast<std::size_t>(std::min<std::uint64_t>(dataSize, kMaxThumbnailBytes)));
    DoneWithFile();
    return bytes;
}

}  // namespace marrowick
