// The search of a collection for objects that share a GUID: the folders
// walked, every object file and archive member read, the GUIDs grouped, and
// the report printed. marrowick-inspect --conflicts and the window's check both
// run it; it may run on a thread of its own.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collect_paths.h"
#include "conflicts.h"
#include "file_notes.h"
#include "printer.h"

namespace marrowick {

// What a running check says as it goes. Called on the thread that runs it.
class GuidCheckObserver {
  public:
    virtual ~GuidCheckObserver() = default;
    // The folders are being walked: `found` files and archives so far.
    virtual void Found(std::size_t found) { static_cast<void>(found); }
    // The folders have been walked: `paths` files and archives are to be read.
    virtual void Walked(std::size_t paths) { static_cast<void>(paths); }
    // Path `done` (0-based; an archive's members share one) is about to be
    // read: `item`, a file or an archive's member (ShownItem names it for
    // people; an observer that shows no name need not make it).
    virtual void Reading(std::size_t done, const ObjectFileItem& item) {
        static_cast<void>(done);
        static_cast<void>(item);
    }
    // A line for the user, as marrowick-inspect writes it on stderr: a folder
    // or archive with nothing to read, or a file's error or warning.
    virtual void Notice(const std::string& line) { static_cast<void>(line); }
};

// A collection read whole: every file and member, what could not be read, and
// what the walk met. The GUID check and the search for objects both read so.
struct CollectionRead {
    ReadFiles read;  // every file and member read, in order
    std::vector<FileError> errors;
    // Files read with warnings; with a count of files read by chunks when the
    // check read files without a resource map so.
    ReadWarnings readWarnings;
    std::optional<int> archives;  // archives read, once the collection had any
    // What the walk and the archives had to say, as the lines Notice gave:
    // folders and archives with nothing to read, links not followed, members
    // skipped. They tell why a check found nothing.
    std::vector<std::string> notices;
    bool cancelled = false;  // stopped before the end: nothing here is complete
};

// Walks `paths` (files and folders, as marrowick-inspect takes them) and reads
// every object file and archive member. With `readChunks`, files without a
// resource map are read by their chunks. Entries of an archive that give the
// same bytes are read once. Setting `cancel` stops the reading within a
// fraction of a second, wherever it is.
CollectionRead ReadCollection(const std::vector<std::string>& paths, bool readChunks,
                              GuidCheckObserver& observer,
                              const std::atomic<bool>* cancel = nullptr);

struct GuidCheck : CollectionRead {
    ConflictReport report;
};

// Reads the collection as ReadCollection does and groups the GUIDs.
GuidCheck CheckGuids(const std::vector<std::string>& paths, bool readChunks,
                     GuidCheckObserver& observer, const std::atomic<bool>* cancel = nullptr);

// The report of a finished check: what marrowick-inspect --conflicts prints.
void PrintGuidCheck(Printer& printer, const GuidCheck& check);

// What a walk has to say: the folders given with nothing to read in them, and
// the links to folders outside them that it did not follow.
std::vector<std::string> WalkNotices(const CollectedPaths& collected);

}  // namespace marrowick
