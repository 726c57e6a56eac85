#include "run.h"

#include "arguments.h"
#include "collect_paths.h"
#include "find_objects.h"
#include "guid_check.h"
#include "marrowick_version.h"
#include "object_files.h"
#include "object_listing.h"
#include "progress.h"

namespace marrowick::inspect {
namespace {

constexpr const char* kProgram = "marrowick-inspect";

// The "member" field of a record from an archive: the name, or null for an
// archive refused whole. Records of loose files have none.
std::optional<PrintValue> MemberField(const ObjectFileItem& item) {
    if (!item.InArchive()) {
        return std::nullopt;
    }
    std::optional<std::string> member = MemberName(item);
    return member ? PrintValue(std::move(*member)) : PrintValue();
}

int ListObjects(const std::vector<PathEntry>& entries, Printer& printer, std::ostream& out,
                std::ostream& err, bool readChunks) {
    int status = kAllRead;
    std::atomic<bool> outputFailed = false;  // nobody would see the rest
    bool readAny = false;
    ParseIFF parse;
    ArchiveNotices archives{[&err](const std::string& path, const std::string& notice) {
        err << NoticeLine(path, notice) << '\n' << std::flush;
    }};
    ForEachObjectFile(
        entries, archives,
        [&](const ObjectFileItem& item, FileBytes* file) {
            readAny = true;
            FileListing listing;
            if (file != nullptr) {
                listing = ListFile(parse, *file, item.path, readChunks);
            } else {
                listing.error = item.error;
            }
            if (!listing.error.empty()) {
                err << NoticeLine(ShownItem(item), listing.error) << '\n' << std::flush;
                status = kFileError;
            }
            // A walk that stopped early or left chunks out read the file only in part.
            for (const std::string& warning : listing.warnings) {
                err << NoticeLine(ShownItem(item), warning) << '\n' << std::flush;
                status = kFileError;
            }
            PrintFileListing(printer, item.path, listing, readChunks, MemberField(item));
            outputFailed.store(!out);
        },
        &outputFailed);
    // A run that read nothing found nothing wrong, but did not do what was asked.
    return readAny ? status : kFileError;
}

// Reports to stderr as the check goes: notices, errors and warnings, and on a
// terminal a progress line once the folders have been walked.
class CheckOnStderr final : public GuidCheckObserver {
  public:
    CheckOnStderr(std::ostream& err, bool isTerminal) : progress_(err, isTerminal) {}
    void Found(std::size_t found) override { progress_.Found(found); }
    void Walked(std::size_t paths) override { progress_.Walked(paths); }
    void Reading(std::size_t done, const ObjectFileItem& item) override {
        progress_.Step(done, [&item] { return ShownItem(item); });
    }
    void Notice(const std::string& line) override { progress_.Message(line); }

  private:
    Progress progress_;
};

int FindSharedGuids(const std::vector<std::string>& paths, Printer& printer, std::ostream& err,
                    bool stderrIsTerminal, bool readChunks) {
    GuidCheck check;
    {
        CheckOnStderr observer(err, stderrIsTerminal);
        check = CheckGuids(paths, readChunks, observer);
    }
    PrintGuidCheck(printer, check);
    if (check.read.FilesRead() == 0 || !check.errors.empty() ||
        !check.readWarnings.warnings.empty()) {
        return kFileError;
    }
    return check.report.trueConflicts + check.report.versions > 0 ? kGuidConflict : kAllRead;
}

// Exits 0 when something was found, whatever could not be read: a search
// answers "is it there?".
int FindObjectsIn(const Arguments& parsed, Printer& printer, std::ostream& err,
                  bool stderrIsTerminal) {
    ObjectSearch search;
    {
        CheckOnStderr observer(err, stderrIsTerminal);
        search = FindObjects(parsed.paths, parsed.finds, parsed.walkChunks, observer);
    }
    PrintObjectSearch(printer, search);
    err << SearchSummary(search) << '\n';
    if (!search.found.empty()) {
        return kAllRead;
    }
    if (const std::string unread = UnreadItems(search); !unread.empty()) {
        err << kProgram << ": nothing found, but " << unread
            << " could not be read in full: the search is incomplete.\n";
    }
    return kNothingFound;
}

}  // namespace

std::string_view HelpText() {
    return "Usage: marrowick-inspect [--json] [--conflicts] [--walk-chunks] PATH...\n"
           "       marrowick-inspect [--json] [--walk-chunks] --find QUERY... PATH...\n"
           "\n"
           "Prints the objects of object files as Marrowick's windows show them, finds\n"
           "the objects that share a GUID, or finds objects by GUID or name. A PATH is\n"
           "a file or a folder; folders are searched recursively for files whose name\n"
           "ends in .iff or .far in any letter case, and their files are taken in\n"
           "sorted order; a folder with no such file gets a notice on stderr. A link\n"
           "met in a folder, to a file or a folder, is followed only when what it\n"
           "leads to lies inside one of the folders given; any other is named on\n"
           "stderr and skipped (a PATH given is read wherever it leads). No file is\n"
           "read twice: one met again, named or found, by the same name or another, is\n"
           "read where it was first met. A folder that cannot be opened is an error.\n"
           "On a terminal, a progress line counts the files found while folders are\n"
           "walked.\n"
           "\n"
           "A file cut short, whose resource map or a chunk its map lists runs past\n"
           "the end of the file, is read as far as it goes, with a warning on stderr\n"
           "and in its JSON line's \"warnings\" list; --conflicts counts and lists it\n"
           "among the files with warnings. One cut short before its resource map can\n"
           "be read (in its 64-byte header, before the map or in the map's header) is\n"
           "an error that says so; with --walk-chunks its chunks are read instead and\n"
           "the same sentence is its first warning.\n"
           "\n"
           "File names are written as they are stored. In JSON, a byte of a name that\n"
           "is not UTF-8 is written as an escape from \\udc80 to \\udcff, which\n"
           "Python's os.fsencode turns back into the byte; the table shows U+FFFD.\n"
           "A table's column is as wide as its widest cell, up to 255 characters; a\n"
           "longer cell is written whole but widens no other row.\n"
           "\n"
           "An archive (a file starting with \"FAR!byAZ\", whatever its name) stands\n"
           "for its members whose name ends in .iff, in the order of its manifest, in\n"
           "every mode; other members are skipped, with a notice on stderr. Their JSON\n"
           "lines add \"member\" after \"file\" (the archive); an archive refused whole\n"
           "is one line with \"member\": null and the error. An archive whose manifest\n"
           "gives a member a name longer than 1024 bytes is refused. The table names\n"
           "each member after its archive.\n"
           "\n"
           "Options:\n"
           "  --json         Write JSON: one object per line for each file (with --find,\n"
           "                 for each object found), or with --conflicts one document\n"
           "                 for the whole run.\n"
           "  --conflicts    Instead of the objects, report every GUID that more than\n"
           "                 one object uses, grouped by GUID, and the objects that\n"
           "                 have no GUID (all zero). Each group is of the first kind\n"
           "                 that fits: copies of one file (each object in a file of\n"
           "                 its own, the files byte-identical), a loose file taking an\n"
           "                 archived object's GUID, two versions of one object (each\n"
           "                 in a file of its own, all with the same label and catalog\n"
           "                 name), or different objects. True clashes come first,\n"
           "                 then versions, then copies. The text says what to do\n"
           "                 about each kind, and lists the files with errors and\n"
           "                 with warnings by reason. JSON gives each group's \"kind\"\n"
           "                 (\"different_objects\", \"loose_takes_archived_guid\",\n"
           "                 \"versions_of_one_object\", \"copies_of_one_file\"), counts\n"
           "                 true clashes as \"conflicts\" and versions as \"versions\",\n"
           "                 and gives each file error and warning a \"reason\".\n"
           "                 The summary's Files counts the files and archive members\n"
           "                 read; a folder that cannot be opened is among the errors.\n"
           "                 When archives are read, the summary counts them, and each\n"
           "                 object names its \"member\".\n"
           "  --find QUERY, --find=QUERY\n"
           "                 Instead of the objects, list those QUERY matches, read as\n"
           "                 --conflicts reads. A QUERY that is a GUID, as boxes\n"
           "                 (\"2843 EAB9\"), a value (\"0xB9EA4328\") or eight digits\n"
           "                 that may be either (\"2843EAB9\"), matches the GUID, then\n"
           "                 the original GUID unless that is 0000 0000. Any other\n"
           "                 QUERY, with blanks around it ignored, matches a label,\n"
           "                 then a catalog name, that holds it in any letter case.\n"
           "                 Give --find more than once to find any of the queries.\n"
           "                 The table has a row per object: file (and member when\n"
           "                 archives are read), id, label, GUID, value, catalog name,\n"
           "                 what it was found by, and the query when several are\n"
           "                 given. JSON gives each object a line with \"file\",\n"
           "                 \"member\" (when archives are read), \"index\",\n"
           "                 \"chunk_id\", \"label\", \"guid\", \"value\",\n"
           "                 \"original_guid\", \"catalog_name\", \"found_by\" (\"guid\",\n"
           "                 \"original_guid\", \"label\" or \"catalog_name\") and\n"
           "                 \"query\" (the first that matched). A line on stderr says\n"
           "                 how many objects in how many files were searched and how\n"
           "                 many found; when nothing was found and a file could not\n"
           "                 be read in full, another says the search is incomplete.\n"
           "  --walk-chunks  Read a file that has no resource map, or is cut short\n"
           "                 before it, by walking its chunks from byte 64, instead of\n"
           "                 reporting it as an error. Each JSON line gains \"read_by\"\n"
           "                 (\"resource map\", \"chunks\" or null) and \"warnings\"; the\n"
           "                 table says how each file was read. A walk that stops early\n"
           "                 or leaves chunks out is a warning, written to stderr.\n"
           "  -h, --help     Show this help and exit.\n"
           "  -v, --version  Show the version and exit.\n"
           "\n"
           "Exit status:\n"
           "  0  every file was read, and with --conflicts no two objects share a GUID\n"
           "     (copies of one file do not count; two versions of one object do);\n"
           "     with --find: an object was found, whatever could not be read\n"
           "  1  a file, folder, archive or member could not be read or is not a valid\n"
           "     object file, no file at all was read, or a file was read with a\n"
           "     warning (cut short, or with --walk-chunks a walk that stopped early);\n"
           "     everything else is still reported (this status wins over 3); with\n"
           "     --find: nothing was found\n"
           "  2  the command line is wrong\n"
           "  3  with --conflicts: objects share a GUID\n"
           "  4  standard output could not be written, for instance to a full disk;\n"
           "     this status wins over all others\n";
}

int RunInspect(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               bool stderrIsTerminal) {
    const Arguments parsed = ParseArguments(arguments);
    const auto usageError = [&err](const std::string& why) {
        err << kProgram << ": " << why << "\nTry '" << kProgram
            << " --help' for more information.\n";
        return kUsageError;
    };
    if (!parsed.error.empty()) {
        return usageError(parsed.error);
    }
    if (parsed.help) {
        out << HelpText();
        return kAllRead;
    }
    if (parsed.version) {
        out << kProgram << ' ' << kVersion << '\n';
        return kAllRead;
    }
    if (parsed.paths.empty()) {
        return usageError("no file or folder given.");
    }

    const std::unique_ptr<Printer> printer =
        parsed.json ? MakeJsonPrinter(out) : MakeTextPrinter(out);
    if (!parsed.finds.empty()) {
        return FindObjectsIn(parsed, *printer, err, stderrIsTerminal);
    }
    if (parsed.conflicts) {
        return FindSharedGuids(parsed.paths, *printer, err, stderrIsTerminal, parsed.walkChunks);
    }
    CollectedPaths collected;
    {
        Progress progress(err, stderrIsTerminal);
        collected = CollectPaths(parsed.paths, nullptr,
                                 [&progress](std::size_t found) { progress.Found(found); });
    }
    for (const std::string& line : WalkNotices(collected)) {
        err << line << '\n';
    }
    return ListObjects(collected.entries, *printer, out, err, parsed.walkChunks);
}

}  // namespace marrowick::inspect
