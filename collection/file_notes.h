// The files a check could not read, or read with warnings: why, as a reason
// with a stable id for scripts and a heading for people, the files grouped by
// it, and the lines that name a file with its message.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "object_files.h"

namespace marrowick {

// A file with an error or a warning, and what it says (UTF-8).
struct FileError {
    int file = 0;  // position in the collection
    std::string error;
};

// Why a file has an error or a warning.
struct NoteReason {
    std::string_view id;       // stable, in snake_case: "no_resource_map"
    std::string_view heading;  // for people: "No resource map"; empty for "other"
    // Reading the file by its chunks reads what the message refused.
    bool readByChunks = false;
};

// The reason of a message the reader, the archive reader or the walk gives. A
// message of no known reason has the id "other" and no heading.
NoteReason ReasonOf(std::string_view message);

// Files of one reason; an unknown message is a reason of its own, by its text.
struct NoteGroup {
    NoteReason reason;
    std::string heading;             // the reason's, or the unknown message's text
    std::vector<std::size_t> notes;  // positions in the list grouped, in its order
    int files = 0;                   // the files among them: one may give two notes
};

// The notes grouped by reason, the groups in the order of their first notes.
std::vector<NoteGroup> GroupByReason(const std::vector<FileError>& notes);

// "No resource map: 252 files." and, for a reason reading by chunks answers,
// what does it: "Read Chunks reads them by their chunks." for `reader` "Read
// Chunks". Pass no reader where the run read by chunks already.
std::string GroupLine(const NoteGroup& group, std::string_view reader);

// What a line about an item names, as UTF-8 safe to show on a terminal (see
// PrintableText): the file, or the archive and its member.
std::string ShownItem(const ObjectFileItem& item);
// A line for stderr: what it is about (a path, or ShownItem), then the message
// on one line.
std::string NoticeLine(std::string_view shown, const std::string& message);

}  // namespace marrowick
