#include "picked_set.h"

#include <cstring>
#include <string_view>

size_t PickedSet::Hash::operator()(size_t i) const {
    RecipientTexts r = (*texts)(i);
    size_t h = std::hash<std::string_view>()(r.name);
    return h ^ (std::hash<std::string_view>()(r.fax) + 0x9e3779b9u + (h << 6) + (h >> 2));
}

bool PickedSet::Same::operator()(size_t a, size_t b) const {
    RecipientTexts ra = (*texts)(a), rb = (*texts)(b);
    return std::strcmp(ra.name, rb.name) == 0 && std::strcmp(ra.fax, rb.fax) == 0;
}

PickedSet::PickedSet(CandidateTexts texts, const std::vector<size_t>& listed, size_t more)
    : texts_(std::move(texts)),
      slots_(0, Hash{&texts_}, Same{&texts_}),
      live_(listed.size() + more + 1, 0) {
    // Room for every item up front: no rehash while adding.
    slots_.reserve(listed.size() + more);
    // The first from the top counts, as a search from the top would find.
    for (size_t candidate : listed) {
        slots_.emplace(candidate, nextSlot_);
        Mark(nextSlot_++, 1);
    }
}

void PickedSet::Mark(size_t slot, int change) {
    for (size_t k = slot + 1; k < live_.size(); k += k & (~k + 1)) live_[k] += change;
}

size_t PickedSet::ItemsBefore(size_t slot) const {
    int n = 0;
    for (size_t k = slot; k > 0; k -= k & (~k + 1)) n += live_[k];
    return static_cast<size_t>(n);
}

bool PickedSet::Find(size_t i, size_t& candidate, size_t& position) const {
    auto it = slots_.find(i);
    if (it == slots_.end()) return false;
    candidate = it->first;
    position = ItemsBefore(it->second);
    return true;
}

void PickedSet::Append(size_t i) {
    slots_.emplace(i, nextSlot_);
    Mark(nextSlot_++, 1);
}

void PickedSet::Remove(size_t candidate) {
    auto it = slots_.find(candidate);
    if (it == slots_.end()) return;
    Mark(it->second, -1);
    slots_.erase(it);
}
