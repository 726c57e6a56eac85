#include "file_notes.h"

#include <algorithm>
#include <map>

#include "conflicts.h"
#include "file_names.h"
#include "messages.h"

namespace marrowick {
namespace {

// Each message the engine gives, by how it begins; a message that is a whole
// fixed text matches as a prefix of itself. The first that fits is taken.
struct KnownStart {
    std::string_view start;
    NoteReason reason;
};

constexpr NoteReason kNoMap{"no_resource_map", "No resource map", true};
// Cut short before its map (an error, answered by reading the chunks), or cut
// short in a map or chunk it lists (a warning): one reason, told apart by the
// section it is in. A chunk walk of a file shorter than its header says both.
constexpr NoteReason kCut{"cut_short", "Cut short", true};
constexpr NoteReason kArchive{"damaged_archive", "Damaged archive", false};

const KnownStart kKnownStarts[] = {
    // The reader's scan (scan.cpp, decode.cpp).
    {kNotValidIff, {"not_an_object_file", "Not an object file", false}},
    {kNoResourceMap, kNoMap},
    {"The file is cut short: ", kCut},
    {"Could not open \"", {"cannot_open", "Could not be opened", false}},
    // The chunk walk (walk.cpp).
    {"The file ends at byte ", kCut},
    {"Reading stopped at byte ", {"walk_stopped", "Chunk walk stopped early", false}},
    {"Only ", {"chunks_left_out", "Chunks left out", false}},
    // The folder walk (collect_paths.cpp).
    {"Could not read the folder \"", {"folder_not_read", "Folder not read to its end", false}},
    // Archives (archive.cpp): a member refused on its own, or the whole archive.
    {"The member takes bytes ", {"member_past_end", "Member past the archive's end", false}},
    {"The archive is of version ", {"archive_version", "Archive of another version", false}},
    {"The archive ", kArchive},
    {"The archive's ", kArchive},
    {"The name of member ", kArchive},
};

// The message's line ends as blanks.
std::string OnOneLine(std::string_view message) {
    std::string line;
    line.reserve(message.size());
    for (std::size_t at = 0; at < message.size(); ++at) {
        const bool lineEnd = message.compare(at, 2, "\r\n") == 0;
        line += lineEnd ? ' ' : message[at];
        at += lineEnd ? 1 : 0;
    }
    return line;
}

}  // namespace

NoteReason ReasonOf(std::string_view message) {
    for (const KnownStart& known : kKnownStarts) {
        if (message.starts_with(known.start)) {
            return known.reason;
        }
    }
    return {"other", {}, false};
}

std::vector<NoteGroup> GroupByReason(const std::vector<FileError>& notes) {
    std::vector<NoteGroup> groups;
    std::map<std::string, std::size_t, std::less<>> byKey;  // reason id, or the unknown message
    for (std::size_t n = 0; n < notes.size(); ++n) {
        const NoteReason reason = ReasonOf(notes[n].error);
        const std::string key =
            reason.heading.empty() ? " " + notes[n].error : std::string(reason.id);
        const auto [at, added] = byKey.try_emplace(key, groups.size());
        if (added) {
            NoteGroup& group = groups.emplace_back();
            group.reason = reason;
            group.heading = std::string(reason.heading);
            if (reason.heading.empty()) {  // the message, without its full stop before ": N files."
                group.heading = PrintableText(OnOneLine(notes[n].error));
                if (group.heading.ends_with('.')) {
                    group.heading.pop_back();
                }
            }
        }
        NoteGroup& group = groups[at->second];
        // A file's notes come together: a file met again is the one just before.
        if (group.notes.empty() || notes[group.notes.back()].file != notes[n].file) {
            ++group.files;
        }
        group.notes.push_back(n);
    }
    return groups;
}

std::string GroupLine(const NoteGroup& group, std::string_view reader) {
    const bool one = group.files == 1;
    std::string line =
        group.heading + ": " + std::to_string(group.files) + (one ? " file." : " files.");
    if (group.reason.readByChunks && !reader.empty()) {
        line += ' ';
        line += reader;
        line += one ? " reads it by its chunks." : " reads them by their chunks.";
    }
    return line;
}

std::string ShownItem(const ObjectFileItem& item) {
    std::string shown = PrintableText(item.path);
    if (const std::optional<std::string> member = MemberName(item)) {
        shown += ": " + PrintableText(*member);
    }
    return shown;
}

std::string NoticeLine(std::string_view shown, const std::string& message) {
    return PrintableText(shown) + ": " + PrintableText(OnOneLine(message));
}

}  // namespace marrowick
