// The editor's own room and type lists. Their texts differ from the main
// window's category names in places; a position here is the same as the
// RoomIndex and TypeIndex the decoder gives.
#pragma once

#include <array>

namespace marrowick {

struct CategoryEntry {
    const char* text;
    int itemData;  // the category's bit in the object definition
};

inline constexpr std::array<CategoryEntry, 9> kRoomEntries = {{{"Not in buy mode", 0},
                                                               {"Kitchen", 1},
                                                               {"Bedroom", 2},
                                                               {"Bathroom", 4},
                                                               {"Living Room", 8},
                                                               {"Outside", 16},
                                                               {"Dining Room", 32},
                                                               {"Misc", 64},
                                                               {"Study", 128}}};

inline constexpr std::array<CategoryEntry, 9> kTypeEntries = {{{"Not in buy mode", 0},
                                                               {"Seating", 1},
                                                               {"Surface", 2},
                                                               {"Appliances", 4},
                                                               {"Electonics", 8},
                                                               {"Plumbing", 16},
                                                               {"Decorative", 32},
                                                               {"Misc", 64},
                                                               {"Lighting", 128}}};

}  // namespace marrowick
