// The list logic the windows and the command-line tool share: the object list
// entries with their catalog-text and thumbnail links, the object's label as
// the editor shows it, and the skill boxes an object ticks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "parse_iff.h"

namespace marrowick {

struct ObjectListEntry {
    std::string Text;  // label, two blanks, chunk id (raw bytes)
    int ItemData;      // the object's CTSS row, or -1
};

// One entry per object, in index order. Also fills parse.ThumbIndex for every
// listed object. When several rows match an id, the last one wins.
std::vector<ObjectListEntry> FillObjectList(ParseIFF& parse);

// The object's label from its list entry: the text without its two blanks and id.
std::string ObjectLabelFromEntry(std::string_view entryText);

// The skill check boxes (bit values 1 to 64) to tick for a skill flag: every box
// whose bit is set.
std::vector<int> SkillBoxesToTick(std::int16_t skillFlag);

inline constexpr int kSkillBits[] = {1, 2, 4, 8, 16, 32, 64};

}  // namespace marrowick
