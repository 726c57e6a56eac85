// Names on Linux and other POSIX systems are bytes.
#include "file_names.h"

namespace marrowick {

NameRule SystemNameRule() {
    return NameRule::Bytes;
}

}  // namespace marrowick
