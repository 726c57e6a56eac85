// marrowick-inspect: the objects of object files, or the GUIDs they share, as a
// table or as JSON.
#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <iostream>

#include <unistd.h>

#include "file_names.h"
#include "output_buffer.h"
#include "run.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // Qt's own list of arguments replaces bytes that are not UTF-8; paths must
    // keep them to be opened.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << marrowick::DecodeFileName(argv[i]);
    }
    marrowick::inspect::OutputBuffer buffer(STDOUT_FILENO);
    std::ostream out(&buffer);
    const int status =
        marrowick::inspect::RunInspect(arguments, out, std::cerr, ::isatty(STDERR_FILENO) == 1);
    out.flush();
    if (const int error = buffer.error(); error != 0) {
        // A reader that stopped reading early (`| head`) needs no message.
        if (error != EPIPE) {
            std::cerr << "marrowick-inspect: cannot write to standard output: "
                      << std::strerror(error) << '\n';
        }
        return marrowick::inspect::kWriteError;
    }
    return status;
}
