// The object file reader: one instance lives for the whole run and holds the
// index of the current file, the per-object attribute table and the catalog
// texts of the last lookup. Plain C++; no toolkit.
//
// Texts read from files are kept as raw single-byte (Windows-1252) strings; the
// windows and the command-line tool convert them where they show them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "messages.h"

namespace marrowick {

inline constexpr int kRows = 301;  // every per-object table has rows 0 to 300

// The chunk types whose lists the resource-map scan looks for, in the order in
// which they are compared.
enum class ChunkType : int {
    OBJD,
    OBJf,
    PALT,
    CTSS,
    STRs,
    TTAB,
    TTAs,
    DGRP,
    SPR2,
    BHAV,
    BMP_,
    BCON,
    SLOT,
    FWAV
};
inline constexpr int kChunkTypeCount = 14;

// How each type list is announced inside the map: the type code stored as a
// little-endian 32-bit value, so in file order its characters come reversed.
inline constexpr std::array<const char*, kChunkTypeCount> kMapTypeCodes = {
    "DJBO", "fJBO", "TLAP", "SSTC", "#RTS", "BATT", "sATT",
    "PRGD", "2RPS", "VAHB", "_PMB", "NOCB", "TOLS", "VAWF"};

// How the last scan filled the object index.
enum class IndexSource {
    None,         // it filled nothing: the file was refused
    ResourceMap,  // through the file's resource map
    Chunks,       // by walking the chunks of a file that has no resource map
};

enum AttributeGroup : std::int16_t {
    ValueGroup = 1,
    GuidGroup = 2,
    ScoreGroup = 4,
    BuyModeGroup = 5,
    SkillGroup = 6,
};

// One row of ObjectAttributes: the decoded fields of one object definition.
struct ObjectAttributeRow {
    std::int16_t Price = 0;
    std::int16_t SalePrice = 0;
    std::int16_t InitialDepreciation = 0;
    std::int16_t DailyDepreciation = 0;
    std::int16_t SelfDepreciating = 0;
    std::int16_t DepreciationLimit = 0;
    std::int16_t RoomFlags = 0;
    std::int16_t TypeFlags = 0;
    std::int16_t HungerScore = 0;
    std::int16_t ComfortScore = 0;
    std::int16_t HygieneScore = 0;
    std::int16_t BladderScore = 0;
    std::int16_t EnergyScore = 0;
    std::int16_t FunScore = 0;
    std::int16_t RoomScore = 0;
    std::int16_t SkillFlag = 0;
    std::string GuidHex1, GuidHex2;
    std::string OrigGuidHex1, OrigGuidHex2;
    std::string CloneGuidHex1, CloneGuidHex2;
    bool operator==(const ObjectAttributeRow&) const = default;
};

struct Category {
    int flags;
    const char* name;
};
// The buy-mode category tables, in the order in which rows are tried. Row n has
// list position n.
extern const std::array<Category, 9> kRoomCategories;
extern const std::array<Category, 9> kTypeCategories;

// Names a room or type byte. A byte equal to a row gives that row's name and
// position; a byte with several bits set gives the names of its bits in table
// order joined by ", " and position -1.
struct CategoryNaming {
    std::string name;
    int index;
};
CategoryNaming NameCategory(const std::array<Category, 9>& table, int flags);

// b0 is the first byte in the file. Fields are read as the unsigned values they
// are, so b0 may be 128 or more.
std::int64_t ReadBE32(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);

// The fixed catalog texts of an object that has no catalog text chunk.
extern const char* const kNoDescriptionName;
extern const char* const kNoDescriptionText;

class ParseIFF {
  public:
    // --- the object index -------------------------------------------------
    // Positions are file offsets; they are held wider than 32 bits so that a
    // field read as unsigned plus a chunk offset never overflows.
    std::array<std::int64_t, kChunkTypeCount> TypeListPos{};
    int ObjdCount = 0;
    std::array<std::int64_t, kRows> ObjdChunkPos{};
    std::array<std::int32_t, kRows> ObjdChunkId{};  // 0 to 65535
    std::array<std::string, kRows> ObjdLabel{};
    std::array<std::int16_t, kRows> CatalogId{};
    std::array<std::int16_t, kRows> ThumbIndex{};
    int CtssCount = 0;
    std::array<std::int64_t, kRows> CtssChunkPos{};
    std::array<std::int32_t, kRows> CtssChunkId{};
    int BmpCount = 0;
    std::array<std::int32_t, kRows> BmpChunkId{};
    std::array<std::int64_t, kRows> BmpChunkPos{};  // kept for thumbnails
    // The descriptor under which a reader has the file open; -1 between calls.
    int FileNum = -1;
    // How the index was filled, and what the scan found wrong with a file it
    // could still read: a chunk walk that had to stop or leave chunks out, or a
    // file cut short (UTF-8 texts, each naming the byte offset or the type).
    IndexSource ReadBy = IndexSource::None;
    std::vector<std::string> ScanWarnings;

    // --- decoded values -----------------------------------------------------
    std::array<ObjectAttributeRow, kRows> ObjectAttributes{};
    std::string RoomName, TypeName;
    int RoomIndex = 0;
    int TypeIndex = 0;
    std::string CatalogName, CatalogDescription;

    // The path the decoders reopen: the main window sets it to the file the user
    // chose before it scans.
    std::string CurrentFile;
    // The part of CurrentFile the decoders read: all of it, or the bytes of the
    // archive member that was opened.
    ByteRange CurrentRange;

    // Keeps CurrentFile open while it lives, so that the decoder calls made for
    // one event share one descriptor and its block cache instead of reopening
    // the file each time. A file that cannot be opened is reported once per
    // scope. Scopes may nest; nothing stays open after the outermost one.
    class FileScope {
      public:
        explicit FileScope(ParseIFF& parse) : parse_(parse) { ++parse_.scope_depth_; }
        // Reads through `file`, already open on CurrentFile's range, instead of
        // opening it again.
        FileScope(ParseIFF& parse, FileBytes& file) : FileScope(parse) {
            if (parse_.scope_depth_ == 1) {
                parse_.lent_file_ = &file;
            }
        }
        ~FileScope();
        FileScope(const FileScope&) = delete;
        FileScope& operator=(const FileScope&) = delete;

      private:
        ParseIFF& parse_;
    };

    // Where the reader's messages go. Without a sink they are dropped.
    void SetMessageSink(MessageSink* sink) { sink_ = sink; }

    // Empties the index and refills it from the file at `path`. A bad file is
    // reported through the message sink and leaves the index empty. A file
    // whose resource map cannot be used (it has none, or is cut short before
    // the map could be read) is read by walking its chunks when the sink's
    // answer to that message asks for it; a cut is then the first warning.
    void ScanObjectFile(const std::string& path);
    // The same scan over a file the caller already has open, so that a caller
    // that reads more of the file (the GUID listing) opens it only once.
    void ScanObjectFile(FileBytes& file, const std::string& path);

    // Empties the index, as a file the scan refuses leaves it.
    void ClearIndex();

    // Decodes one group of object `index`'s definition from CurrentFile into its
    // row of ObjectAttributes (and, for BuyModeGroup, the category values).
    void ReadObjectAttributes(int index, AttributeGroup group);
    // Decodes `groups` in their order from one read of the definition, as one
    // call per group inside a FileScope would.
    void ReadObjectAttributes(int index, std::span<const AttributeGroup> groups);

    // Reads the catalog name and description of CTSS row `entry`, or sets the
    // fixed texts when `entry` is -1.
    void ReadCatalogText(int entry);

    // The BMP_ chunk's data (a Windows bitmap file) for BMP_ row `row`, read from
    // CurrentFile; empty when there is none or it cannot be read.
    std::vector<std::uint8_t> ReadThumbnailBytes(int row);

    ~ParseIFF();
    ParseIFF();
    ParseIFF(const ParseIFF&) = delete;
    ParseIFF& operator=(const ParseIFF&) = delete;

    // Largest BMP_ data we hand on to an image decoder.
    static constexpr std::size_t kMaxThumbnailBytes = 4 * 1024 * 1024;
    // Longest text kept from one label or catalog text step.
    static constexpr std::size_t kMaxTextBytes = 32767;

  private:
    void Report(const std::string& text, const std::string& caption);
    // One group of ObjectAttributes row `row` from the definition's first bytes.
    void DecodeAttributes(std::size_t row, AttributeGroup group, const std::uint8_t* chunk);
    // Fills the index from the chunks themselves, front to back from byte 64.
    void WalkChunks(FileBytes& file);
    // Every listed object's label and catalog id, from its chunk.
    void ReadObjectHeads(FileBytes& file);
    // The catalog texts of a chunk in the packed layout (format code FC FF).
    void ReadPackedCatalogText(FileBytes& file, std::uint64_t chunk, std::uint64_t chunkEnd);
    // CurrentFile, open: the scope's file while a FileScope lives, else a fresh
    // one kept in `local`. Null (after a report) when it cannot be opened.
    FileBytes* OpenCurrentFile(std::unique_ptr<FileBytes>& local);
    void DoneWithFile();

    MessageSink* sink_ = nullptr;
    int scope_depth_ = 0;
    std::unique_ptr<FileBytes> scoped_file_;
    FileBytes* lent_file_ = nullptr;
};

}  // namespace marrowick
