#pragma once
// The candidates for the keys typed so far: every key of a character index that begins with
// them, in ascending order, with the entry behind each, and which one is selected.

#include "CharacterSet.h"

#include <string>
#include <string_view>
#include <vector>

namespace braille {

class CandidateMatches {
public:
    struct Candidate {
        std::u16string key;
        const BrailleCharacter* entry = nullptr;
    };

    // Every key of `index` that begins with `prefix`, in ascending key order (keys that are
    // equal keep their order in the index). An empty prefix finds nothing. Selects the first.
    void search(const CharacterIndex& index, std::u16string_view prefix);
    void clear();

    bool empty() const { return m_candidates.empty(); }
    std::size_t size() const { return m_candidates.size(); }
    const Candidate& operator[](std::size_t i) const { return m_candidates[i]; }
    std::vector<std::u16string> keys() const;

    std::size_t selected() const { return m_selected; }
    const Candidate* selectedCandidate() const { return empty() ? nullptr : &m_candidates[m_selected]; }
    void select(std::size_t i) { m_selected = i < size() ? i : 0; }
    // Both wrap around: after the last comes the first, before the first the last.
    void selectNext();
    void selectPrevious();

private:
    std::vector<Candidate> m_candidates;
    std::size_t m_selected = 0;
};

} // namespace braille
