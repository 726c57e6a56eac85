#include "object_list.h"

#include <algorithm>

namespace marrowick {

std::vector<ObjectListEntry> FillObjectList(ParseIFF& parse) {
    std::vector<ObjectListEntry> entries;
    entries.reserve(static_cast<std::size_t>(parse.ObjdCount));
    for (int i = 0; i < parse.ObjdCount; ++i) {
        const auto row = static_cast<std::size_t>(i);
        entries.push_back({parse.ObjdLabel[row] + "  " + std::to_string(parse.ObjdChunkId[row]), -1});
    }
    for (int i = 0; i < parse.ObjdCount; ++i) {
        const auto row = static_cast<std::size_t>(i);
        // Ids are compared as signed 16-bit values widened to 32 bits.
        const std::int32_t catalog = parse.CatalogId[row];
        parse.ThumbIndex[row] = -1;
        for (int j = 0; j < parse.CtssCount; ++j) {
            if (parse.CtssChunkId[static_cast<std::size_t>(j)] == catalog) {
                entries[row].ItemData = j;
            }
        }
        for (int j = 0; j < parse.BmpCount; ++j) {
            if (parse.BmpChunkId[static_cast<std::size_t>(j)] == catalog) {
                parse.ThumbIndex[row] = static_cast<std::int16_t>(j);
            }
        }
    }
    return entries;
}

std::string ObjectLabelFromEntry(std::string_view entryText) {
    const std::size_t blanks = entryText.rfind("  ");
    if (blanks == std::string_view::npos) {
        return std::string(entryText);
    }
    const std::string_view id = entryText.substr(blanks + 2);
    const bool isId = !id.empty() && std::all_of(id.begin(), id.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    return std::string(isId ? entryText.substr(0, blanks) : entryText);
}

std::vector<int> SkillBoxesToTick(std::int16_t skillFlag) {
    std::vector<int> boxes;
    for (int bit : kSkillBits) {
        if ((skillFlag & bit) != 0) {
            boxes.push_back(bit);
        }
    }
    return boxes;
}

}  // namespace marrowick
