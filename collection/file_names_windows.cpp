// Names on Windows are UTF-16, and may hold unpaired surrogates.
#include "file_names.h"

namespace marrowick {

NameRule SystemNameRule() {
    return NameRule::Utf16;
}

}  // namespace marrowick
