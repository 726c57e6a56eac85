#include "find_objects.h"

#include <algorithm>

#include "cancel.h"
#include "conflicts.h"
#include "cp1252.h"
#include "guid_query.h"
#include "object_list.h"
#include "utf8.h"

namespace marrowick {
namespace {

using Guid = std::array<std::uint8_t, 4>;

constexpr Guid kNoGuid{};

// A character in the letter case the search ignores, folded to lower case:
// ASCII, the Latin-1 letters (not the sign ×; ß has no capital of its own) and
// the few more letters Windows-1252 holds.
char32_t Folded(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    switch (c) {
        case 0x0160:  // Š
        case 0x0152:  // Œ
        case 0x017D:  // Ž
            return c + 1;
        case 0x0178:  // Ÿ
            return 0xFF;
        default:
            return c;
    }
}

// File text (Windows-1252) as folded characters, into `out`.
void FoldFileText(std::string_view bytes, std::u32string& out) {
    out.clear();
    for (const char byte : bytes) {
        out.push_back(Folded(Cp1252CodePoint(static_cast<unsigned char>(byte))));
    }
}

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && Blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && Blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A query made ready to be matched against many objects.
class Query {
  public:
    explicit Query(std::string_view typed) : guids_(GuidsWritten(typed)) {
        if (!guids_.empty()) {
            return;
        }
        // A byte that starts no UTF-8 character is taken as Windows-1252, as
        // a terminal whose text is not UTF-8 gives "Caf\xE9".
        for (std::string_view text = Trimmed(typed); !text.empty();) {
            const Utf8Char c = ReadUtf8(text);
            const auto byte = static_cast<unsigned char>(text.front());
            folded_.push_back(Folded(c.size > 0 ? c.code : Cp1252CodePoint(byte)));
            text.remove_prefix(c.size > 0 ? c.size : 1);
        }
    }

    // `scratch` is working space, reused from object to object.
    std::optional<FoundBy> Match(const ObjectGuid& object, std::u32string& scratch) const {
        const auto among = [this](const Guid& guid) {
            return std::find(guids_.begin(), guids_.end(), guid) != guids_.end();
        };
        if (!guids_.empty()) {
            if (among(object.guid)) {
                return FoundBy::Guid;
            }
            // An original GUID of all zero bytes is none.
            if (object.originalGuid != kNoGuid && among(object.originalGuid)) {
                return FoundBy::OriginalGuid;
            }
            return std::nullopt;
        }
        if (folded_.empty()) {
            return std::nullopt;  // a blank query finds nothing rather than everything
        }
        if (Holds(ObjectLabelFromEntry(object.listText), scratch)) {
            return FoundBy::Label;
        }
        if (Holds(object.catalogName, scratch)) {
            return FoundBy::CatalogName;
        }
        return std::nullopt;
    }

  private:
    bool Holds(std::string_view fileText, std::u32string& scratch) const {
        if (fileText.size() < folded_.size()) {
            return false;
        }
        FoldFileText(fileText, scratch);
        return std::search(scratch.begin(), scratch.end(), folded_.begin(), folded_.end()) !=
               scratch.end();
    }

    std::vector<Guid> guids_;
    std::u32string folded_;  // any other text, trimmed and folded
};

// What a query matched, for people and in JSON, in the order of FoundBy.
constexpr struct {
    std::string_view name, id;
} kFoundBy[] = {{"GUID", "guid"},
                {"original GUID", "original_guid"},
                {"label", "label"},
                {"catalog name", "catalog_name"}};

// "1 object", "2 objects".
std::string Count(std::size_t n, std::string_view one) {
    std::string text = std::to_string(n) + " ";
    text += one;
    return n == 1 ? text : text + "s";
}

}  // namespace

std::string_view FoundByName(FoundBy by) {
    return kFoundBy[static_cast<std::size_t>(by)].name;
}

std::string_view FoundById(FoundBy by) {
    return kFoundBy[static_cast<std::size_t>(by)].id;
}

std::optional<FoundBy> Matches(std::string_view query, const ObjectGuid& object) {
    std::u32string scratch;
    return Query(query).Match(object, scratch);
}

ObjectSearch FindObjects(const std::vector<std::string>& paths,
                         const std::vector<std::string>& queries, bool readChunks,
                         GuidCheckObserver& observer, const std::atomic<bool>* cancel) {
    ObjectSearch search;
    static_cast<CollectionRead&>(search) = ReadCollection(paths, readChunks, observer, cancel);
    search.queries = queries;
    const std::vector<Query> prepared(queries.begin(), queries.end());
    std::u32string scratch;
    const ReadFiles& read = search.read;
    for (std::size_t f = 0; f < read.files.size() && !Stopped(cancel); ++f) {
        for (const ObjectGuid& object : read.Listing(f).objects) {
            ++search.objects;
            for (std::size_t q = 0; q < prepared.size(); ++q) {
                if (const std::optional<FoundBy> by = prepared[q].Match(object, scratch)) {
                    search.found.push_back({static_cast<int>(f), object.index, q, *by});
                    break;
                }
            }
        }
    }
    search.cancelled = search.cancelled || Stopped(cancel);
    return search;
}

void PrintObjectSearch(Printer& printer, const ObjectSearch& search) {
    const ReadFiles& read = search.read;
    const bool archives = search.archives.has_value();
    const bool severalQueries = search.queries.size() > 1;
    printer.PrintReport([&] {
        // For people a table; for scripts a line for each object.
        const bool table = printer.ForPeople();
        if (table) {
            printer.BeginList("found");
        }
        for (const FoundObject& found : search.found) {
            const auto f = static_cast<std::size_t>(found.file);
            const ListedFile& file = read.files[f];
            const ObjectGuid& object =
                read.Listing(f).objects[static_cast<std::size_t>(found.index)];
            printer.BeginRecord();
            printer.Value("file", FileName{read.Path(f)}, "File");
            if (archives) {
                PrintMember(printer, file, "Member");
            }
            printer.Number("index", object.index);
            printer.Number("chunk_id", object.chunkId, "Id");
            printer.FileText("label", ObjectLabelFromEntry(object.listText), "Label");
            PrintGuid(printer, "guid", object.guid, "GUID");
            printer.Value("value", GuidValue(object.guid), "Value");
            PrintGuid(printer, "original_guid", object.originalGuid, {});
            printer.FileText("catalog_name", object.catalogName, "Catalog name");
            printer.Value("found_by",
                          std::string(table ? FoundByName(found.by) : FoundById(found.by)),
                          "Found by");
            printer.Value("query", search.queries[found.query], severalQueries ? "Query" : "");
            printer.EndRecord();
        }
        if (table) {
            printer.EndList();
        }
    });
}

std::string SearchSummary(const ObjectSearch& search) {
    // The files searched: those read, less those that could not be.
    const auto unreadable = static_cast<std::size_t>(
        std::count_if(search.errors.begin(), search.errors.end(), [&search](const FileError& e) {
            return search.read.files[static_cast<std::size_t>(e.file)].kind !=
                   ObjectFileItem::Kind::Folder;
        }));
    const std::string searched = Count(static_cast<std::size_t>(search.objects), "object") +
                                 " in " + Count(search.read.FilesRead() - unreadable, "file");
    const std::string found =
        search.found.empty() ? "none found." : std::to_string(search.found.size()) + " found.";
    return (search.cancelled ? "Stopped after searching " : "Searched ") + searched + ": " + found;
}

std::string UnreadItems(const CollectionRead& read) {
    std::vector<int> unread;
    for (const std::vector<FileError>* notes : {&read.errors, &read.readWarnings.warnings}) {
        for (const FileError& note : *notes) {
            unread.push_back(note.file);
        }
    }
    std::sort(unread.begin(), unread.end());
    unread.erase(std::unique(unread.begin(), unread.end()), unread.end());
    const auto folders =
        static_cast<std::size_t>(std::count_if(unread.begin(), unread.end(), [&read](int f) {
            return read.read.files[static_cast<std::size_t>(f)].kind ==
                   ObjectFileItem::Kind::Folder;
        }));
    const std::size_t files = unread.size() - folders;
    if (folders == 0) {
        return files == 0 ? "" : Count(files, "file");
    }
    return files == 0 ? Count(folders, "folder")
                      : Count(files, "file") + " and " + Count(folders, "folder");
}

}  // namespace marrowick
