#include "guid_check.h"

#include <climits>
#include <map>

#include "cancel.h"
#include "collect_paths.h"
#include "file_names.h"
#include "object_files.h"
#include "same_bytes.h"

namespace marrowick {

std::vector<std::string> WalkNotices(const CollectedPaths& collected) {
    std::vector<std::string> lines;
    for (const std::string& folder : collected.emptyFolders) {
        lines.push_back(NoticeLine(folder, kNothingToRead));
    }
    for (const PathNotice& link : collected.linksLeft) {
        lines.push_back(NoticeLine(link.path, link.notice));
    }
    return lines;
}

namespace {

// ReadCollection into `check`; returns the walk, whose file identities the
// comparison of copies needs.
CollectedPaths ReadInto(CollectionRead& check, const std::vector<std::string>& paths,
                        bool readChunks, GuidCheckObserver& observer,
                        const std::atomic<bool>* cancel) {
    if (readChunks) {
        check.readWarnings.readByChunks = 0;
    }
    CollectedPaths collected =
        CollectPaths(paths, cancel, [&observer](std::size_t found) { observer.Found(found); });
    check.notices = WalkNotices(collected);
    for (const std::string& line : check.notices) {
        observer.Notice(line);
    }
    observer.Walked(collected.entries.size());

    ReadFiles& read = check.read;
    for (const PathEntry& entry : collected.entries) {
        if (Stopped(cancel)) {
            break;  // nothing will be read
        }
        read.paths.push_back(entry.path);
    }
    bool metArchive = false;
    ParseIFF parse;
    ArchiveNotices archives{
        [&observer, &check](const std::string& path, const std::string& notice) {
            observer.Notice(check.notices.emplace_back(NoticeLine(path, notice)));
        }};
    // The archive's entries read so far, by their bytes: an entry that gives
    // the same bytes as one before it is not read again.
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::uint32_t> readRanges;
    std::size_t rangesOf = SIZE_MAX;
    ForEachObjectFile(
        collected.entries, archives,
        [&](const ObjectFileItem& item, FileBytes* file) {
            observer.Reading(item.entry, item);
            metArchive = metArchive || item.InArchive();
            if (item.entry != rangesOf) {
                readRanges.clear();
                rangesOf = item.entry;
            }
            auto listing = static_cast<std::uint32_t>(read.listings.size());
            bool known = false;
            if (item.kind == ObjectFileItem::Kind::Member) {
                const auto [at, added] =
                    readRanges.try_emplace({item.range.offset, item.range.size}, listing);
                listing = at->second;
                known = !added;
            }
            if (!known) {
                GuidListing& listed = read.listings.emplace_back();
                if (file != nullptr) {
                    listed = ListObjectGuids(parse, *file, item.path, readChunks);
                } else {
                    listed.error = item.error;
                }
            }
            const GuidListing& listed = read.listings[listing];
            const auto f = static_cast<int>(read.files.size());
            read.files.push_back({item.kind, static_cast<std::uint32_t>(item.entry), listing,
                                  item.range, item.member});
            if (!listed.error.empty()) {
                observer.Notice(NoticeLine(ShownItem(item), listed.error));
                check.errors.push_back({f, listed.error});
            }
            if (listed.readBy == IndexSource::Chunks) {
                ++*check.readWarnings.readByChunks;
            }
            for (const std::string& warning : listed.warnings) {
                observer.Notice(NoticeLine(ShownItem(item), warning));
                check.readWarnings.warnings.push_back({f, warning});
            }
        },
        cancel);
    if (metArchive) {
        check.archives = archives.archives;
    }
    check.cancelled = Stopped(cancel);
    return collected;
}

}  // namespace

CollectionRead ReadCollection(const std::vector<std::string>& paths, bool readChunks,
                              GuidCheckObserver& observer, const std::atomic<bool>* cancel) {
    CollectionRead read;
    ReadInto(read, paths, readChunks, observer, cancel);
    return read;
}

GuidCheck CheckGuids(const std::vector<std::string>& paths, bool readChunks,
                     GuidCheckObserver& observer, const std::atomic<bool>* cancel) {
    GuidCheck check;
    const CollectedPaths collected = ReadInto(check, paths, readChunks, observer, cancel);
    const ReadFiles& read = check.read;
    // Comparing copies reads whole files: a cancel stops that too.
    check.report = FindConflicts(
        read,
        [&read, &collected, cancel](const ListedFile& a, const ListedFile& b) {
            const std::vector<PathEntry>& entries = collected.entries;
            return SameFileBytes({read.paths[a.entry], a.range, entries[a.entry].identity},
                                 {read.paths[b.entry], b.range, entries[b.entry].identity}, cancel);
        },
        cancel);
    check.cancelled = Stopped(cancel);
    return check;
}

void PrintGuidCheck(Printer& printer, const GuidCheck& check) {
    printer.PrintReport([&printer, &check] {
        PrintConflictReport(printer, check.read, check.report, check.errors, check.readWarnings,
                            check.archives);
    });
}

}  // namespace marrowick
