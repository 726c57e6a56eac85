#include "object_list.h"

#include <algorithm>
#include <unordered_map>

namespace marrowick {

std::vector<ObjectListEntry> FillObjectList(ParseIFF& parse) {
    // The last row carrying an id wins, so later rows overwrite earlier ones.
    // Ids are compared as signed 16-bit values widened to 32 bits.
    std::unordered_map<std::int32_t, int> lastCatalogRow;
    for (int j = 0; j < parse.CtssCount; ++j) {
        lastCatalogRow[parse.CtssChunkId[static_cast<std::size_t>(j)]] = j;
    }
    std::unordered_map<std::int32_t, int> lastBitmapRow;
    for (int j = 0; j < parse.BmpCount; ++j) {
        lastBitmapRow[parse.BmpChunkId[static_cast<std::size_t>(j)]] = j;
    }
    auto rowOf = [](const std::unordered_map<std::int32_t, int>& rows, std::int32_t id) {
        const auto found = rows.find(id);
        return found == rows.end() ? -1 : found->second;
    };

    std::vector<ObjectListEntry> entries;
    entries.reserve(static_cast<std::size_t>(parse.ObjdCount));
    for (int i = 0; i < parse.ObjdCount; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const std::int32_t catalog = parse.CatalogId[row];
        entries.push_back({parse.ObjdLabel[row] + "  " + std::to_string(parse.ObjdChunkId[row]),
                           rowOf(lastCatalogRow, catalog)});
        parse.ThumbIndex[row] = static_cast<std::int16_t>(rowOf(lastBitmapRow, catalog));
    }
    return entries;
}

std::string ObjectLabelFromEntry(std::string_view entryText) {
    const std::size_t blanks = entryText.rfind("  ");
    if (blanks == std::string_view::npos) {
        return std::string(entryText);
    }
    const std::string_view id = entryText.substr(blanks + 2);
    const bool isId = !id.empty() && std::all_of(id.begin(), id.end(),
                                                 [](char c) { return c >= '0' && c <= '9'; });
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
