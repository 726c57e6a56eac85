// Times how long the GUID check takes to end once cancelled, which is what the
// window's Cancel and its closing wait for:
//   cancel_latency PATH [DELAY_MS] [ROUNDS]
// Each round starts the check of PATH on a thread of its own, as the window
// does, sets the cancel flag DELAY_MS milliseconds later (500 by default) and
// prints the milliseconds from then until the thread has ended.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "guid_check.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PATH [DELAY_MS] [ROUNDS]\n", argv[0]);
        return 2;
    }
    const std::vector<std::string> paths{argv[1]};
    const int delay = argc > 2 ? std::stoi(argv[2]) : 500;
    const int rounds = argc > 3 ? std::stoi(argv[3]) : 5;
    using Clock = std::chrono::steady_clock;
    for (int round = 0; round < rounds; ++round) {
        std::atomic<bool> cancel = false;
        std::atomic<bool> ended = false;
        std::thread check([&] {
            marrowick::GuidCheckObserver quiet;
            const marrowick::GuidCheck result = marrowick::CheckGuids(paths, false, quiet, &cancel);
            ended = true;
            static_cast<void>(result);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        const bool endedFirst = ended;
        const Clock::time_point cancelled = Clock::now();
        cancel = true;
        check.join();
        const double ms =
            std::chrono::duration<double, std::milli>(Clock::now() - cancelled).count();
        std::printf("%.1f ms%s\n", ms,
                    endedFirst ? " (the check had ended before the cancel)" : "");
        std::fflush(stdout);
    }
    return 0;
}
