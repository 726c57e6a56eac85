#include "guid_check.h"

#include "collect_paths.h"
#include "file_names.h"
#include "object_files.h"
#include "same_bytes.h"

namespace marrowick {
namespace {

bool Stopped(const std::atomic<bool>* cancel) {
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

}  // namespace

QString ShownPath(const std::string& path) {
    return DecodeFileName(path);
}

QString ShownItem(const ObjectFileItem& item) {
    const std::optional<QString> member = MemberName(item);
    return member ? ShownPath(item.path) + QStringLiteral(": ") + *member : ShownPath(item.path);
}

std::string NoticeLine(const QString& shown, const std::string& message) {
    QString text = QString::fromStdString(message);
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return (PrintableText(shown) + QStringLiteral(": ") + PrintableText(text)).toStdString();
}

std::vector<std::string> WalkNotices(const CollectedPaths& collected) {
    std::vector<std::string> lines;
    for (const std::string& folder : collected.emptyFolders) {
        lines.push_back(NoticeLine(ShownPath(folder), kNothingToRead));
    }
    for (const PathNotice& link : collected.linksLeft) {
        lines.push_back(NoticeLine(ShownPath(link.path), link.notice));
    }
    return lines;
}

GuidCheck CheckGuids(const std::vector<std::string>& paths, bool readChunks,
                     GuidCheckObserver& observer, const std::atomic<bool>* cancel) {
    GuidCheck check;
    if (readChunks) {
        check.readWarnings.readByChunks = 0;
    }
    const CollectedPaths collected =
        CollectPaths(paths, cancel, [&observer](std::size_t found) { observer.Found(found); });
    for (const std::string& line : WalkNotices(collected)) {
        observer.Notice(line);
    }
    observer.Walked(collected.entries.size());

    bool metArchive = false;
    ParseIFF parse;
    ArchiveNotices archives{[&observer](const std::string& path, const std::string& notice) {
        observer.Notice(NoticeLine(ShownPath(path), notice));
    }};
    ForEachObjectFile(
        collected.entries, archives,
        [&](const ObjectFileItem& item, FileBytes* file) {
            const QString path = ShownPath(item.path);
            const QString shown = ShownItem(item);
            observer.Reading(item.entry, shown);
            metArchive = metArchive || item.InArchive();
            ListedFile listed{item, {}};
            if (file != nullptr) {
                listed.listing = ListObjectGuids(parse, *file, item.path, readChunks);
            } else {
                listed.listing.error = item.error;
            }
            if (!listed.listing.error.empty()) {
                observer.Notice(NoticeLine(shown, listed.listing.error));
                check.errors.push_back({path, listed.listing.error, MemberName(item)});
            }
            if (listed.listing.readBy == IndexSource::Chunks) {
                ++*check.readWarnings.readByChunks;
            }
            for (const std::string& warning : listed.listing.warnings) {
                observer.Notice(NoticeLine(shown, warning));
                check.readWarnings.warnings.push_back({path, warning, MemberName(item)});
            }
            check.shownPaths.push_back(path);
            check.files.push_back(std::move(listed));
        },
        cancel);
    if (metArchive) {
        check.archives = archives.archives;
    }
    // Comparing copies reads whole files: a cancel stops that too.
    check.report = FindConflicts(check.files, [cancel](const ListedFile& a, const ListedFile& b) {
        return !Stopped(cancel) &&
               SameFileBytes(a.item.path, a.item.range, b.item.path, b.item.range);
    });
    check.cancelled = Stopped(cancel);
    return check;
}

void PrintGuidCheck(Printer& printer, const GuidCheck& check) {
    printer.PrintReport([&printer, &check] {
        PrintConflictReport(printer, check.files, check.shownPaths, check.report, check.errors,
                            check.readWarnings, check.archives);
    });
}

}  // namespace marrowick
