// The search of a collection for objects by GUID, label or catalog name:
// marrowick-inspect --find and the window's Find Objects both run it; it may
// run on a thread of its own.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "guid_check.h"
#include "printer.h"

namespace marrowick {

// What a query matched in an object.
enum class FoundBy { Guid, OriginalGuid, Label, CatalogName };

// For people: "GUID", "original GUID", "label", "catalog name".
std::string_view FoundByName(FoundBy by);
// In JSON: "guid", "original_guid", "label", "catalog_name".
std::string_view FoundById(FoundBy by);

// An object a query matched.
struct FoundObject {
    int file = 0;           // position in the collection (ReadFiles::files)
    int index = 0;          // the object's, in its file's list and listing
    std::size_t query = 0;  // the first of the queries that matched it
    FoundBy by = FoundBy::Guid;
};

// A search: the collection as read, the queries and what they found.
struct ObjectSearch : CollectionRead {
    std::vector<std::string> queries;  // as typed (UTF-8)
    std::vector<FoundObject> found;    // in collection order
    int objects = 0;                   // the objects searched
};

// Whether `query` (UTF-8, as typed) matches `object`, and by what: a GUID in
// any written form (see GuidsWritten) matches the GUID, then the original GUID;
// any other text is looked for in the label, then the catalog name, in any
// letter case, as the window shows them.
std::optional<FoundBy> Matches(std::string_view query, const ObjectGuid& object);

// Reads `paths` as ReadCollection does and finds the objects that any of
// `queries` matches. Setting `cancel` stops it soon after.
ObjectSearch FindObjects(const std::vector<std::string>& paths,
                         const std::vector<std::string>& queries, bool readChunks,
                         GuidCheckObserver& observer, const std::atomic<bool>* cancel = nullptr);

// What marrowick-inspect --find prints on stdout for a finished search.
void PrintObjectSearch(Printer& printer, const ObjectSearch& search);

// The summary line for stderr: how many objects in how many files were
// searched, and how many were found: "Searched 13 objects in 12 files: 2
// found." A search that was stopped says so.
std::string SearchSummary(const ObjectSearch& search);

// The files and folders of a read that could not be read in full (an error,
// or a warning of a file read only in part), for people: "2 files", "1 file
// and 1 folder"; empty when every one was read.
std::string UnreadItems(const CollectionRead& read);

}  // namespace marrowick
