#pragma once
// Item storage of list and combo boxes: a sequence of blocks, so that
// inserting into a sorted list of 100,000 items stays cheap (a flat vector
// would move half the list on every insert).
#include "win_base.h"

#include <string>
#include <vector>

namespace winuser {

struct ListItem {
    std::u16string text;
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
    // Index after the last item that compares not greater than 'text'
    // under 'less' (a stable sorted insert position).
    template <class Less>
    size_t upperBound(const std::u16string& text, Less less) const;

private:
    static constexpr size_t kBlock = 256;
    std::vector<std::vector<ListItem>> blocks_;
    size_t count_ = 0;
    void locate(size_t i, size_t& b, size_t& off) const;
};

template <class Less>
size_t ListStore::upperBound(const std::u16string& text, Less less) const {
    // First block whose last item is greater than text, then inside it.
    size_t lo = 0, hi = blocks_.size();
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (less(text, blocks_[mid].back().text)) hi = mid;
        else lo = mid + 1;
    }
    size_t base = 0;
    for (size_t b = 0; b < lo; ++b) base += blocks_[b].size();
    if (lo == blocks_.size()) return count_;
    const auto& blk = blocks_[lo];
    size_t l = 0, h = blk.size();
    while (l < h) {
        size_t m = (l + h) / 2;
        if (less(text, blk[m].text)) h = m;
        else l = m + 1;
    }
    return base + l;
}

}  // namespace winuser
