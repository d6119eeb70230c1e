#include "CharacterSet.h"

namespace braille {

const BrailleCharacter* CharacterSet::first(const CharacterIndex& index, std::u16string_view key)
{
    auto it = index.find(key);
    return it == index.end() ? nullptr : it->second;
}

const BrailleCharacter* CharacterSet::create(std::u16string_view print, std::u16string_view nabcc)
{
    return &m_entries.emplace_back(std::u16string(print), std::u16string(nabcc), m_id);
}

const BrailleCharacter* CharacterSet::findOrCreate(std::u16string_view print, std::u16string_view nabcc)
{
    if (const BrailleCharacter* e = firstByPrint(print))
        return e;
    const BrailleCharacter* e = create(print, nabcc);
    m_byPrint.emplace(e->print, e);
    return e;
}

const BrailleCharacter* CharacterSet::createAlternate(std::u16string_view print, std::u16string_view nabcc)
{
    const BrailleCharacter* e = create(print, nabcc);
    m_alternates.emplace(e->print, e);
    return e;
}

void CharacterSet::addSource(std::u16string_view key, const BrailleCharacter* entry)
{
    // A multimap inserts an equal key after the ones already there, which keeps the order of
    // insertion that exact search relies on.
    m_bySource.emplace(std::u16string(key), entry);
}

void CharacterSet::addSourceIfFree(std::u16string_view key, const BrailleCharacter* entry)
{
    if (!firstBySource(key))
        addSource(key, entry);
}

void CharacterSet::addCellsIfFree(const BrailleCharacter* entry)
{
    if (!entry->nabcc.empty() && !first(m_byCells, entry->nabcc))
        m_byCells.emplace(entry->nabcc, entry);
}

} // namespace braille
