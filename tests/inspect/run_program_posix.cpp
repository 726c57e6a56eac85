#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "run_program.h"

namespace marrowick::inspect::test {

RunResult RunProgram(const std::vector<std::string>& arguments, const std::string& folder,
                     Output output) {
    std::vector<std::string> command{MARROWICK_INSPECT_PROGRAM};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : command) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::FILE* const streams[] = {std::tmpfile(), std::tmpfile()};
    int pipeEnds[2] = {-1, -1};
    if (output == Output::ClosedPipe && ::pipe(pipeEnds) == 0) {
        ::close(pipeEnds[0]);  // the reader gone before anything is written
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = output == Output::FullDevice   ? ::open("/dev/full", O_WRONLY)
                        : output == Output::ClosedPipe ? pipeEnds[1]
                                                       : ::fileno(streams[0]);
        // As a shell or script that ignores SIGPIPE starts it: the failed
        // write is seen, not a signal.
        std::signal(SIGPIPE, output == Output::ClosedPipe ? SIG_IGN : SIG_DFL);
        if (::chdir(folder.c_str()) == 0 && ::dup2(out, 1) == 1 &&
            ::dup2(::fileno(streams[1]), 2) == 2) {
            ::execv(argv[0], argv.data());
        }
        ::_exit(127);
    }
    if (pipeEnds[1] >= 0) {
        ::close(pipeEnds[1]);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    std::string texts[2];
    for (int i = 0; i < 2; ++i) {
        std::rewind(streams[i]);
        for (int c; (c = std::fgetc(streams[i])) != EOF;) {
            texts[i] += static_cast<char>(c);
        }
        std::fclose(streams[i]);
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, texts[0], texts[1]};
}

}  // namespace marrowick::inspect::test
