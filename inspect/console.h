// What marrowick-inspect needs of the system it runs on: its arguments, its
// standard streams and the terminal. One source file per system implements it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace marrowick::inspect::console {

// The program's arguments, the program's name first, as UTF-8 inside. A name
// the system holds in another form is kept exactly: bytes that are not UTF-8
// stay as they are, and on a system whose names are UTF-16 an unpaired
// surrogate is kept in the generalized UTF-8 form (three bytes, 0xED ...).
std::vector<std::string> Arguments(int argc, char* argv[]);

// Sets the standard streams up for the report before anything is written:
// standard output takes bytes as they are (UTF-8, LF line ends), and a
// console shows UTF-8 text and the progress line's control sequences.
void Prepare();

// Whether standard error is a terminal (a console), where progress is shown.
bool ErrorIsTerminal();

// The width of the terminal standard error shows on, or 80 when unknown.
int ErrorColumns();

// Writes `size` bytes of `data` to standard output. Returns how many were
// written, which may be fewer; 0 or less is a failure, and `error` is set to
// the errno that names it (EPIPE when the reader has gone, ENOSPC when the
// disk is full).
std::ptrdiff_t WriteOut(const char* data, std::size_t size, int& error);

}  // namespace marrowick::inspect::console
