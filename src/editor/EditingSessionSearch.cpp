// Find and replace in the session: searching the current section for a run of the very same
// entries, downward or upward without wrapping, the view's F3 and Shift+F3, and what the find
// dialog's buttons ask for.

#include "CursorEditing.h"
#include "EditingSession.h"
#include "OriginalPages.h"
#include "RecordedEditing.h"
#include "ReviewItem.h"

#include <algorithm>

namespace braille {

namespace {

bool matchesAt(const CharacterSequence& chars, std::size_t i, const EntryList& pattern)
{
    return i + pattern.size() <= chars.size() && std::equal(pattern.begin(), pattern.end(), chars.begin() + std::ptrdiff_t(i));
}

bool holdsLineBreak(const EntryList& pattern)
{
    return std::find(pattern.begin(), pattern.end(), CharacterDictionary::instance().lineBreakEntry()) != pattern.end();
}

} // namespace

void EditingSession::selectRun(DocumentLocation start, std::size_t length)
{
    m_cursor.goToLocation(start);
    m_cursor.setDesired();
    m_cursor.collapseSelection();
    m_cursor.goToLocation({start.paragraph, start.character + std::uint32_t(length)});
    m_cursor.setDesired();
    m_cursor.setSelectionEnd(false);
}

void EditingSession::selectStretch(SectionKind section, DocumentLocation begin, DocumentLocation end)
{
    if (!viewReady())
        return;
    settlePending();
    if (m_document->currentSection != section)
        switchSection(section);
    m_cursor.goToLocation(begin);
    m_cursor.setDesired();
    m_cursor.collapseSelection();
    if (!(begin == end)) {
        m_cursor.goToLocation(end);
        m_cursor.setDesired();
        m_cursor.setSelectionEnd(false);
    }
    commandEpilogue();
}

std::u16string EditingSession::goToPageLine(PageLine place)
{
    if (!viewReady())
        return {};
    const RowOfPageLine found = rowOfPageLine(place, m_layout.LineNumber, m_document->section().rowCount,
                                              sectionCaption(m_document->currentSection));
    if (!found.row)
        return found.problem;
    settlePending();
    m_cursor.goTo(*found.row, 0);
    m_cursor.setDesired();
    m_cursor.collapseSelection();
    commandEpilogue();
    return {};
}

bool EditingSession::searchDown(const EntryList& pattern)
{
    if (!viewReady() || pattern.empty())
        return false;
    const DocumentLocation at = m_cursor.location();
    std::uint32_t index = 0;
    for (const BrailleParagraph& p : m_document->section().paragraphs) {
        if (index >= at.paragraph) {
            const CharacterSequence& chars = *p.characters;
            for (std::size_t i = index == at.paragraph ? at.character : 0; i + pattern.size() <= chars.size(); ++i)
                if (matchesAt(chars, i, pattern)) {
                    selectRun({index, std::uint32_t(i)}, pattern.size());
                    return true;
                }
        }
        ++index;
    }
    return false;
}

bool EditingSession::searchUp(const EntryList& pattern)
{
    if (!viewReady() || pattern.empty())
        return false;
    const DocumentLocation at = m_cursor.location();
    // The entry just before the caret is left out, so an occurrence ending at the caret (the one
    // just found) is passed over; at the start of a paragraph nothing is found.
    if (at.character == 0)
        return false;
    const ParagraphList& paragraphs = m_document->section().paragraphs;
    auto p = std::next(paragraphs.begin(), std::min<std::ptrdiff_t>(at.paragraph, std::ptrdiff_t(paragraphs.size()) - 1));
    std::uint32_t index = at.paragraph;
    std::size_t limit = at.character - 1; // the entries [0, limit) are searched
    for (;;) {
        const CharacterSequence& chars = *p->characters;
        for (std::size_t i = limit >= pattern.size() ? limit - pattern.size() + 1 : 0; i-- > 0;)
            if (matchesAt(chars, i, pattern) && i + pattern.size() <= limit) {
                selectRun({index, std::uint32_t(i)}, pattern.size());
                return true;
            }
        if (p == paragraphs.begin())
            return false;
        --p;
        --index;
        limit = p->characters->empty() ? 0 : p->characters->size() - 1; // not its closing entry
    }
}

std::u16string EditingSession::searchStatus(const EntryList& pattern, bool down, bool found)
{
    std::u16string text = u"検索文字列 【";
    for (const BrailleCharacter* e : pattern)
        text += e->print;
    text += u"】";
    if (!found)
        text += down ? u"　最終行まで検索しましたが、見つかりませんでした。" : u"　先頭行まで検索しましたが、見つかりませんでした。";
    return text;
}

int EditingSession::findPattern(const EntryList& pattern, bool down)
{
    if (pattern.empty())
        return 0;
    if (holdsLineBreak(pattern)) {
        m_services.host.message(u"改行を含めた文字列は検索出来ません。");
        return -1;
    }
    m_searchPattern = pattern;
    const bool found = down ? searchDown(pattern) : searchUp(pattern);
    m_services.host.setStatusText(kMessagePane, searchStatus(pattern, down, found));
    return found ? 1 : 0;
}

void EditingSession::searchCommand(bool down)
{
    if (m_cursor.hasSelection()) {
        EntryList selected = selectedEntries();
        if (holdsLineBreak(selected)) {
            m_services.host.message(u"改行を含めた文字列は検索出来ません。");
            return;
        }
        m_searchPattern = std::move(selected);
    }
    if (m_searchPattern.empty())
        return;
    const bool found = down ? searchDown(m_searchPattern) : searchUp(m_searchPattern);
    m_services.host.setStatusText(kMessagePane, searchStatus(m_searchPattern, down, found));
    commandEpilogue();
}

void EditingSession::replaceSelection(const EntryList& replacement)
{
    if (!viewReady())
        return;
    // The replaced characters are a step of their own, so undo gives the match back.
    if (m_cursor.hasSelection())
        deleteSelectionRecorded(m_cursor, m_undo);
    insertEntries(replacement);
}

bool EditingSession::mayEditOriginalPages()
{
    if (!viewReady())
        return false;
    if (m_document->modified) {
        m_services.host.message(u"ファイルの内容は変更されています。\n変更内容を保存してから原本ページの修正を行ってください。");
        return false;
    }
    if (m_document->currentSection != Body) {
        m_services.host.message(u"原本ページは本文で編集します。\n本文の編集に切り替えてから実行してください。");
        return false;
    }
    return true;
}

void EditingSession::applyOriginalPages(const std::vector<std::u16string>& labels)
{
    if (!viewReady())
        return;
    applyOriginalPageLabels(*m_document, labels);
    commandEpilogue();
}

void EditingSession::findReplace(const FindRequest& request)
{
    if (!viewReady())
        return;
    switch (request.kind) {
    case FindRequest::FindNext:
        m_lastFindSucceeded = findPattern(request.find, request.down) == 1;
        break;
    case FindRequest::Replace:
        if (m_lastFindSucceeded) {
            replaceSelection(request.replace);
            m_lastFindSucceeded = findPattern(request.find, request.down) == 1;
        }
        break;
    case FindRequest::ReplaceAll:
        if (m_lastFindSucceeded) {
            replaceSelection(request.replace);
            while (findPattern(request.find, request.down) == 1)
                replaceSelection(request.replace);
        }
        m_lastFindSucceeded = false;
        break;
    }
    commandEpilogue();
}

} // namespace braille
