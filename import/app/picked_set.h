#pragma once
// What a picking dialog's selected list already holds, by name and fax
// number, for one adding: each candidate is looked up in constant time
// instead of by a walk through the list, and a listed item's position is
// known without one, so adding k candidates to n listed costs about n + k.

#include <cstddef>
#include <functional>
#include <unordered_map>
#include <vector>

struct RecipientTexts {
    const char* name;
    const char* fax;
};
// Name and fax number of a candidate, by its index in the reader's table.
using CandidateTexts = std::function<RecipientTexts(size_t)>;

class PickedSet {
public:
    // listed: the candidate of every item of the selected list, top down;
    // more: how many items this adding may append at most. Throws
    // std::bad_alloc when there is no memory for it.
    PickedSet(CandidateTexts texts, const std::vector<size_t>& listed, size_t more);
    PickedSet(const PickedSet&) = delete;
    PickedSet& operator=(const PickedSet&) = delete;

    // The listed item whose name and fax number equal candidate i's
    // (possibly i itself): its candidate and its index in the list.
    bool Find(size_t i, size_t& candidate, size_t& position) const;
    // Candidate i was appended to the end of the list.
    void Append(size_t i);
    // The item of a found candidate was deleted from the list.
    void Remove(size_t candidate);

private:
    struct Hash {
        const CandidateTexts* texts;
        size_t operator()(size_t i) const;
    };
    struct Same {
        const CandidateTexts* texts;
        bool operator()(size_t a, size_t b) const;
    };
    void Mark(size_t slot, int change);
    size_t ItemsBefore(size_t slot) const;

    CandidateTexts texts_;
    // Keyed by recipient: one listed candidate per name and fax number,
    // with its slot (the order in which it came into the list).
    std::unordered_map<size_t, size_t, Hash, Same> slots_;
    // Prefix sums over the slots, 1 for each item still in the list.
    std::vector<int> live_;
    size_t nextSlot_ = 0;
};
