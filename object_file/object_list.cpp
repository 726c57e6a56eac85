#include "object_list.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace marrowick {
namespace {

// The last of `count` rows carrying each id, in an open-addressed table: a type
// list holds at most kRows entries, so it never fills, and building it costs no
// allocation. Only as many slots as the count needs are used.
class LastRowById {
  public:
    LastRowById(const std::array<std::int32_t, kRows>& ids, int count) {
        while (slots_ < 2 * static_cast<std::size_t>(count)) {
            slots_ *= 2;
        }
        std::fill_n(table_.begin(), slots_, Slot{0, -1});
        for (int row = 0; row < count; ++row) {
            const std::int32_t id = ids[static_cast<std::size_t>(row)];
            table_[SlotOf(id)] = {id, row};  // later rows overwrite earlier ones
        }
    }
    // The row, or -1 when no row carries `id`.
    int RowOf(std::int32_t id) const { return table_[SlotOf(id)].row; }

  private:
    struct Slot {
        std::int32_t id;
        int row;  // -1: empty
    };

    std::size_t SlotOf(std::int32_t id) const {
        // The high bits of a multiplicative hash, folded into the slots in use.
        std::size_t slot = (static_cast<std::uint32_t>(id) * 2654435761u >> 16) & (slots_ - 1);
        while (table_[slot].row >= 0 && table_[slot].id != id) {
            slot = (slot + 1) & (slots_ - 1);
        }
        return slot;
    }

    static constexpr std::size_t kMaxSlots = 1024;
    static_assert(kMaxSlots >= 2 * kRows);
    std::size_t slots_ = 16;  // a power of two, at least twice the count
    std::array<Slot, kMaxSlots> table_;
};
}  // namespace

std::vector<ObjectListEntry> FillObjectList(ParseIFF& parse) {
    // Ids are compared as signed 16-bit values widened to 32 bits.
    const LastRowById catalogRows(parse.CtssChunkId, parse.CtssCount);
    const LastRowById bitmapRows(parse.BmpChunkId, parse.BmpCount);

    std::vector<ObjectListEntry> entries;
    entries.reserve(static_cast<std::size_t>(parse.ObjdCount));
    for (int i = 0; i < parse.ObjdCount; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const std::int32_t catalog = parse.CatalogId[row];
        const std::string& label = parse.ObjdLabel[row];
        char id[12];  // "-2147483648" at most
        const auto idLength = static_cast<std::size_t>(
            std::to_chars(id, id + sizeof id, parse.ObjdChunkId[row]).ptr - id);
        std::string text;
        text.reserve(label.size() + 2 + idLength);
        text.append(label).append("  ").append(id, idLength);
        entries.push_back({std::move(text), catalogRows.RowOf(catalog)});
        parse.ThumbIndex[row] = static_cast<std::int16_t>(bitmapRows.RowOf(catalog));
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
