#include "posix/comctl/liststore.h"

#include <algorithm>

namespace winuser {

void ListStore::renumberFrom(size_t b) {
    starts_.resize(blocks_.size());
    size_t at = b == 0 ? 0 : starts_[b - 1] + blocks_[b - 1].size();
    for (; b < blocks_.size(); ++b) {
        starts_[b] = at;
        at += blocks_[b].size();
    }
}

void ListStore::locate(size_t i, size_t& b, size_t& off) const {
    // The last block starting at or before i.
    b = (size_t)(std::upper_bound(starts_.begin(), starts_.end(), i) - starts_.begin()) - 1;
    off = i - starts_[b];
}

ListItem& ListStore::at(size_t i) {
    size_t b, off;
    locate(i, b, off);
    return blocks_[b][off];
}

void ListStore::insert(size_t pos, ListItem item) {
    if (blocks_.empty()) {
        blocks_.emplace_back();
        starts_.assign(1, 0);
    }
    size_t b, off;
    if (pos >= count_) {
        b = blocks_.size() - 1;
        off = blocks_[b].size();
    } else {
        locate(pos, b, off);
    }
    auto& blk = blocks_[b];
    blk.insert(blk.begin() + (long)off, std::move(item));
    ++count_;
    if (blk.size() >= 2 * kBlock) {
        std::vector<ListItem> tail(std::make_move_iterator(blk.begin() + kBlock), std::make_move_iterator(blk.end()));
        blk.resize(kBlock);
        blocks_.insert(blocks_.begin() + (long)b + 1, std::move(tail));
    }
    renumberFrom(b + 1);
}

void ListStore::erase(size_t pos) {
    size_t b, off;
    locate(pos, b, off);
    blocks_[b].erase(blocks_[b].begin() + (long)off);
    if (blocks_[b].empty()) blocks_.erase(blocks_.begin() + (long)b);
    --count_;
    renumberFrom(b);
}

void ListStore::clear() {
    blocks_.clear();
    starts_.clear();
    count_ = 0;
}

size_t ListStore::upperBound(const std::u32string& key) const {
    // First block whose last item is greater than the key, then inside it.
    auto blk = std::upper_bound(blocks_.begin(), blocks_.end(), key,
                                [](const std::u32string& k, const std::vector<ListItem>& b) { return k < b.back().key; });
    if (blk == blocks_.end()) return count_;
    auto it = std::upper_bound(blk->begin(), blk->end(), key,
                               [](const std::u32string& k, const ListItem& i) { return k < i.key; });
    return starts_[(size_t)(blk - blocks_.begin())] + (size_t)(it - blk->begin());
}

}  // namespace winuser
