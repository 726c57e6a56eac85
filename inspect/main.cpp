// marrowick-inspect: the objects of object files, or the GUIDs they share, as a
// table or as JSON.
#include <cerrno>
#include <cstring>
#include <iostream>

#include "console.h"
#include "output_buffer.h"
#include "run.h"

int main(int argc, char* argv[]) {
    namespace console = marrowick::inspect::console;
    console::Prepare();
    marrowick::inspect::OutputBuffer buffer;
    std::ostream out(&buffer);
    const int status = marrowick::inspect::RunInspect(console::Arguments(argc, argv), out,
                                                      std::cerr, console::ErrorIsTerminal());
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
