// How a long piece of work is asked to stop: a flag that another thread may
// set, checked between steps small enough to end it within a fraction of a
// second.
#pragma once

#include <atomic>

namespace marrowick {

// Whether `cancel` is given and set. The flag orders nothing else, so a
// relaxed load serves.
inline bool Stopped(const std::atomic<bool>* cancel) {
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

}  // namespace marrowick
