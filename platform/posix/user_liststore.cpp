#include "user_liststore.h"

namespace winuser {

void ListStore::locate(size_t i, size_t& b, size_t& off) const {
    // Walk from the nearer end; lists are read mostly in order.
    if (i < count_ / 2) {
        b = 0;
        while (i >= blocks_[b].size()) {
            i -= blocks_[b].size();
            ++b;
        }
        off = i;
    } else {
        size_t rest = count_ - i;  // >= 1
        b = blocks_.size() - 1;
        while (rest > blocks_[b].size()) {
            rest -= blocks_[b].size();
            --b;
        }
        off = blocks_[b].size() - rest;
    }
}

ListItem& ListStore::at(size_t i) {
    size_t b, off;
    locate(i, b, off);
    return blocks_[b][off];
}

void ListStore::insert(size_t pos, ListItem item) {
    if (blocks_.empty()) blocks_.emplace_back();
    size_t b, off;
    if (pos >= count_) {
        b = blocks_.size() - 1;
        off = blocks_[b].size();
    } else {
        locate(pos, b, off);
    }
    auto& blk = blocks_[b];
    blk.insert(blk.begin() + off, std::move(item));
    ++count_;
    if (blk.size() >= 2 * kBlock) {
        std::vector<ListItem> tail(std::make_move_iterator(blk.begin() + kBlock), std::make_move_iterator(blk.end()));
        blk.resize(kBlock);
        blocks_.insert(blocks_.begin() + b + 1, std::move(tail));
    }
}

void ListStore::erase(size_t pos) {
    size_t b, off;
    locate(pos, b, off);
    blocks_[b].erase(blocks_[b].begin() + off);
    if (blocks_[b].empty()) blocks_.erase(blocks_.begin() + b);
    --count_;
}

void ListStore::clear() {
    blocks_.clear();
    count_ = 0;
}

}  // namespace winuser
