#include "CandidateMatches.h"

#include <algorithm>

namespace braille {

void CandidateMatches::search(const CharacterIndex& index, std::u16string_view prefix)
{
    clear();
    if (prefix.empty())
        return;
    // The index is in descending order, so the keys that begin with `prefix` form one run: from
    // below the prefix with its last code unit increased by one down to the prefix itself.
    auto it = index.begin();
    if (prefix.back() != u'\xFFFF') {
        std::u16string upper(prefix);
        ++upper.back();
        it = index.upper_bound(upper);
    }
    for (; it != index.end() && std::u16string_view(it->first) >= prefix; ++it) {
        if (!std::u16string_view(it->first).starts_with(prefix))
            continue;
        // A table may register a print text as a key more than once; one line is enough.
        const bool repeated = std::any_of(m_candidates.begin(), m_candidates.end(), [&](const Candidate& c) {
            return c.entry == it->second && c.key == it->first;
        });
        if (!repeated)
            m_candidates.push_back({it->first, it->second});
    }
    std::stable_sort(m_candidates.begin(), m_candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.key < b.key; });
}

void CandidateMatches::clear()
{
    m_candidates.clear();
    m_selected = 0;
}

std::vector<std::u16string> CandidateMatches::keys() const
{
    std::vector<std::u16string> out;
    out.reserve(m_candidates.size());
    for (const Candidate& c : m_candidates)
        out.push_back(c.key);
    return out;
}

void CandidateMatches::selectNext()
{
    if (!empty())
        m_selected = m_selected + 1 < size() ? m_selected + 1 : 0;
}

void CandidateMatches::selectPrevious()
{
    if (!empty())
        m_selected = m_selected > 0 ? m_selected - 1 : size() - 1;
}

} // namespace braille
