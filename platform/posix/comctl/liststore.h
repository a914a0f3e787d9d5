#pragma once
// Item storage of list and combo boxes: a sequence of blocks, so that
// inserting into a sorted list of 100,000 items stays cheap (a flat vector
// would move half the list on every insert). Sorted lists keep each item's
// collation key, so an insert compares keys rather than collating texts.
#include "posix/win_base.h"

#include <string>
#include <vector>

namespace winuser {

// A text's key under the list boxes' collation (CompareNoCase): comparing
// two keys as plain sequences orders their texts as CompareNoCase does.
std::u32string SortKey(const std::u16string& text);

struct ListItem {
    std::u16string text;
    std::u32string key;  // sorted lists only
    LPARAM data = 0;
    bool selected = false;
};

class ListStore {
public:
    size_t size() const { return count_; }
    ListItem& at(size_t i);
    const ListItem& at(size_t i) const { return const_cast<ListStore*>(this)->at(i); }
    void insert(size_t pos, ListItem item);
    void erase(size_t pos);
    void clear();
    // Index after the last item whose key is not greater than 'key' (a
    // stable sorted insert position).
    size_t upperBound(const std::u32string& key) const;

private:
    static constexpr size_t kBlock = 256;
    std::vector<std::vector<ListItem>> blocks_;
    // starts_[b]: index of the first item of block b. Kept from the first
    // block a change touches onward, so finding an index is a binary search.
    std::vector<size_t> starts_;
    size_t count_ = 0;
    void locate(size_t i, size_t& b, size_t& off) const;
    void renumberFrom(size_t b);
};

}  // namespace winuser
