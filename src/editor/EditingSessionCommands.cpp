// The editing commands of the session: clipboard, delete, TEXT/MATH conversion, undo and redo,
// the structure keys F5 to F9, Shift+F2, sections, the companion's caret and the symbols.

#include "Cells.h"
#include "ClipboardFormat.h"
#include "CharacterPosition.h"
#include "CommandIds.h"
#include "CursorEditing.h"
#include "EditingSession.h"
#include "RecordedEditing.h"
#include "SymbolCommands.h"
#include "Utf.h"
#include "VirtualKeys.h"

#include <algorithm>

namespace braille {

int cmd::commandForKey(int key, bool shift, bool control, bool alt)
{
    using vk::Insert, vk::F5, vk::F6, vk::F7, vk::F8, vk::F9;
    if (alt)
        return key == vk::Back && !shift && !control ? Undo : 0;
    if (control && !shift) {
        switch (key) {
        case 'C':
        case Insert:
            return Copy;
        case 'X':
            return Cut;
        case 'V':
            return Paste;
        case 'Z':
            return Undo;
        case 'Y':
            return Redo;
        default:
            return 0;
        }
    }
    if (control)
        return 0;
    if (shift) {
        switch (key) {
        case vk::F2:
            return ToggleKana;
        case vk::F3:
            return SearchUp;
        case vk::Delete:
            return Cut;
        case Insert:
            return Paste;
        default:
            return 0;
        }
    }
    switch (key) {
    case vk::F2:
        return ToggleTextMath;
    case vk::F3:
        return SearchDown;
    case vk::F4:
        return ToggleBraille;
    case F5:
        return Fraction;
    case F6:
        return Root;
    case F7:
        return Brackets;
    case F8:
        return Dots56;
    case F9:
        return ConnectorOrCapital;
    default:
        return 0;
    }
}

bool EditingSession::command(int id)
{
    // These work whatever the document's state.
    switch (id) {
    case cmd::ToggleTextMath:
        toggleTextMath();
        return true;
    case cmd::ToggleBraille:
        toggleBraille();
        return true;
    case cmd::CompanionUp:
    case cmd::CompanionDown:
        if (m_services.companion.isLinked())
            m_services.companion.sendKey(id == cmd::CompanionUp ? vk::Up : vk::Down);
        return true;
    default:
        break;
    }
    const SymbolCommand* symbol = findSymbolCommand(std::uint32_t(id));
    static constexpr int known[] = {cmd::Copy,       cmd::CopyAlt,  cmd::Cut,      cmd::CutAlt,   cmd::Paste,
                                    cmd::PasteAlt,   cmd::Delete,   cmd::ConvertToText, cmd::ConvertToMath,
                                    cmd::Undo,       cmd::Redo,     cmd::Fraction, cmd::Root,     cmd::Brackets,
                                    cmd::Dots56,     cmd::ConnectorOrCapital, cmd::ToggleKana, cmd::EditCover,
                                    cmd::EditContents, cmd::EditBody, cmd::EditColophon, cmd::SearchDown,
                                    cmd::SearchUp};
    if (!symbol && std::find(std::begin(known), std::end(known), id) == std::end(known))
        return false;
    // Document-changing commands wait until the document is complete and the caret is on it.
    if (!viewReady())
        return true;
    if (symbol) {
        insertEntries(symbolEntries(*symbol, CharacterDictionary::instance(), m_cursor.column));
        return true;
    }
    switch (id) {
    case cmd::Copy:
    case cmd::CopyAlt:
        copy();
        break;
    case cmd::Cut:
    case cmd::CutAlt:
        cut();
        break;
    case cmd::Paste:
    case cmd::PasteAlt:
        paste();
        break;
    case cmd::Delete:
        deleteCommand();
        break;
    case cmd::ConvertToText:
        convertSelection(kTextSet);
        break;
    case cmd::ConvertToMath:
        convertSelection(kMathSet);
        break;
    case cmd::Undo:
        undo();
        break;
    case cmd::Redo:
        redo();
        break;
    case cmd::Fraction:
        fraction();
        break;
    case cmd::Root:
        root();
        break;
    case cmd::Brackets:
        brackets();
        break;
    case cmd::Dots56:
        signCommand(u'\uE01B', u';');
        break;
    case cmd::ConnectorOrCapital:
        signCommand(u'\uE00C', u',');
        break;
    case cmd::ToggleKana:
        if (m_modes->isText())
            m_text.toggleKana();
        updateStatus();
        commandEpilogue();
        break;
    case cmd::EditCover:
        switchSection(Cover);
        break;
    case cmd::EditContents:
        switchSection(Contents);
        break;
    case cmd::EditBody:
        switchSection(Body);
        break;
    case cmd::EditColophon:
        switchSection(Colophon);
        break;
    case cmd::SearchDown:
    case cmd::SearchUp:
        searchCommand(id == cmd::SearchDown);
        break;
    }
    return true;
}

void EditingSession::commandEpilogue()
{
    caretIntoView();
    m_drawnPending = pendingText();
    m_services.host.repaint();
}

void EditingSession::insertEntries(const EntryList& entries)
{
    if (!viewReady())
        return;
    // The selection is not deleted first: inserting with a selection drops it.
    insertEntriesRecorded(m_cursor, m_undo, entries);
    m_cursor.collapseSelection();
    commandEpilogue();
}

EntryList EditingSession::selectedEntries() const
{
    EntryList entries;
    BrailleDocumentCursor walker = m_cursor;
    collectSelection(walker, entries);
    return entries;
}

std::u16string EditingSession::serializeSelection() const { return serializeEntries(selectedEntries()); }

void EditingSession::copy()
{
    if (!m_cursor.hasSelection())
        return;
    const std::u16string units = serializeSelection();
    // A selection with no character leaves the clipboard empty.
    m_services.clipboard.put(units.size() > 2 ? unitsToBytes(units) : std::vector<std::uint8_t>{});
    if (units.size() > 2)
        m_services.clipboard.putText(printText(selectedEntries()));
}

std::u16string EditingSession::printText(const EntryList& entries)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    std::u16string text;
    for (const BrailleCharacter* e : entries) {
        if (e == d.lineBreakEntry())
            text += u'\n';
        else if (e == d.blankEntry())
            text += u' ';
        else if (e != d.endMarkerEntry() && !(e->print.size() == 1 && isPrivateCell(e->print[0])))
            text += e->print; // signs with no print counterpart (the number sign, ...) are left out
    }
    return text;
}

void EditingSession::pasteText(std::u16string_view text)
{
    pasteTextIn(text, m_modes->isMath() || (m_modes->isBraille() && !m_modes->lastIsText()));
}

EditingSession::TextPaste EditingSession::pasteTextAsText(std::u16string_view text) { return pasteTextIn(text, false); }

EditingSession::TextPaste EditingSession::pasteTextIn(std::u16string_view text, bool math)
{
    if (!viewReady() || text.empty())
        return {};
    settlePending();
    const std::uint64_t beforeSelection = m_undo.currentSerial();
    if (m_cursor.hasSelection())
        deleteSelectionRecorded(m_cursor, m_undo);
    const CharacterDictionary& d = CharacterDictionary::instance();
    // Characters no table knows are counted, so the transcriber learns they were left out.
    std::u16string unmatched;
    EntryList ignored;
    StoredCharMode mode = math ? kMathSet : kTextSet;
    for (const char16_t* pos = text.data(); pos < text.data() + text.size();)
        d.convertText(mode, pos, text.data() + text.size(), ignored, &unmatched);
    const std::size_t unknown = std::size_t(std::count_if(unmatched.begin(), unmatched.end(), [](char16_t c) {
        // Line feeds and spaces are typed as keys; a surrogate pair is one character.
        return c != u'\n' && c != u'\r' && c != u' ' && c != u'\u3000' && !(c >= 0xDC00 && c <= 0xDFFF);
    }));
    // The text goes in as the current mode types it, so the rules add their signs; the whole
    // paste is one undo step, and there is one when anything went in.
    const std::uint64_t before = m_undo.currentSerial();
    // A large text asks the window now and then whether to go on (a megabyte takes a fraction of
    // a second, many megabytes a few seconds).
    constexpr std::size_t kAskAfterCharacters = 100'000;
    constexpr std::size_t kAskEveryLines = 128;
    const bool asks = text.size() > kAskAfterCharacters;
    std::size_t lines = 0;
    bool cancelled = false;
    m_undo.beginGroup();
    forEachLine(text, [&](std::u16string_view line, std::size_t start, bool last) {
        if (cancelled)
            return;
        if (asks && ++lines % kAskEveryLines == 0 && !m_services.host.workGoesOn(start, text.size())) {
            cancelled = true;
            return;
        }
        if (math) {
            for (char16_t c : line)
                m_math.charTyped(c == u'\u3000' ? u' ' : c);
            if (!m_math.pending().empty())
                m_math.charTyped(u'\r'); // converts what is still pending
        } else if (!line.empty()) {
            m_text.typeResult(line);
        }
        if (!last) {
            insertEntriesRecorded(m_cursor, m_undo, {d.lineBreakEntry()});
            m_cursor.collapseSelection();
        }
    });
    m_undo.endGroup();
    if (asks)
        m_services.host.workEnded();
    if (cancelled) {
        // Stopped: the part typed goes again, as one step, and so does the selection's deletion
        // it replaced, so the book is as it was.
        // Steps are numbered in the order they were made: back to the one before the selection
        // went (and forward again, should a joined undo have gone past it).
        while (m_undo.currentSerial() > beforeSelection && m_undo.canUndo())
            m_undo.undo();
        while (m_undo.currentSerial() < beforeSelection && m_undo.canRedo())
            m_undo.redo();
        m_document->modified = !m_undo.atSavePoint();
        commandEpilogue();
        return {false, 0, true};
    }
    if (unknown) {
        const std::string count = std::to_string(unknown);
        m_services.host.setStatusText(kMessagePane, u"貼り付けた文字のうち " + std::u16string(count.begin(), count.end()) +
                                                        u" 文字は点字の表にないため入りませんでした。");
    }
    commandEpilogue();
    return {m_undo.currentSerial() != before, unknown};
}

void EditingSession::cut()
{
    copy();
    if (m_cursor.hasSelection())
        deleteSelectionRecorded(m_cursor, m_undo);
    commandEpilogue();
}

void EditingSession::paste()
{
    // Text from other programs replaces the selection itself (and brings it back when cancelled).
    const std::optional<std::vector<std::uint8_t>> block = m_services.clipboard.get();
    if (!block) {
        if (std::optional<std::u16string> text = m_services.clipboard.text(); text && !text->empty()) {
            pasteText(*text);
            return;
        }
    }
    // A selection is replaced: its deletion is a step of its own, so undo brings it back.
    if (m_cursor.hasSelection())
        deleteSelectionRecorded(m_cursor, m_undo);
    if (block) {
        const ClipboardParse parsed = parseClipboard(*block);
        insertEntries(resolveRecords(parsed.records, CharacterDictionary::instance()));
        return;
    }
    commandEpilogue();
}

void EditingSession::deleteCommand()
{
    // At the section's final end marker nothing is deleted and nothing recorded.
    if (m_cursor.hasSelection())
        deleteSelectionRecorded(m_cursor, m_undo);
    else
        deleteAtCursorRecorded(m_cursor, m_undo);
    commandEpilogue();
}

void EditingSession::convertSelection(SetNumber target)
{
    if (!m_cursor.hasSelection())
        return;
    const CharacterDictionary& d = CharacterDictionary::instance();
    const std::size_t count = selectedEntries().size();
    const CellPosition start = m_cursor.selectionStart();
    m_cursor.goTo(start.row, start.column);
    CharacterPosition at = characterPosition(m_cursor);
    // Each replacement is a deletion and an insertion in place, which keeps the paragraphs and
    // their labels; together they are one undo step.
    m_undo.beginGroup();
    for (std::size_t i = 0; i < count; ++i) {
        const BrailleCharacter* e = characterAt(at);
        if (!e)
            break;
        const BrailleCharacter* replacement = d.findOrDefault(target, e->print, e->nabcc);
        if (replacement == d.defaultEntry(target) && target == kMathSet) {
            replacement = d.find(kGaijiSet, e->print, e->nabcc);
            if (!replacement)
                replacement = d.find(kSpecialSet, e->print, e->nabcc);
        }
        const bool keep = !replacement || replacement == d.defaultEntry(target) || replacement == d.lineBreakEntry() ||
                          replacement == d.blankEntry() || replacement == e;
        if (!keep) {
            placeCursor(m_cursor, at);
            deleteAtCursorRecorded(m_cursor, m_undo);
            placeCursor(m_cursor, at);
            insertEntriesRecorded(m_cursor, m_undo, {replacement});
        }
        const std::optional<CharacterPosition> next = nextPosition(*m_document, at);
        if (!next)
            break;
        at = *next;
    }
    m_undo.endGroup();
    placeCursor(m_cursor, at);
    m_cursor.collapseSelection();
    commandEpilogue();
}

void EditingSession::undo() { replayHistory(false); }

void EditingSession::redo() { replayHistory(true); }

void EditingSession::replayHistory(bool forward)
{
    const SectionKind before = m_document->currentSection;
    // A long replay (a large paste undone) shows its progress and can be stopped.
    bool asked = false;
    m_undo.setProgress([&](std::size_t done, std::size_t total) {
        asked = true;
        return m_services.host.workGoesOn(done, total);
    });
    const DocumentLocation caret = m_cursor.location();
    const bool replayed = forward ? m_undo.redo() : m_undo.undo();
    m_undo.setProgress({});
    // Stopped, the book is back where it was, and so are the section and the caret.
    if (!replayed && asked && m_document->currentSection != before) {
        m_document->currentSection = before;
        m_document->recountRows();
    }
    if (!replayed && asked)
        m_cursor.goToLocation(caret);
    m_document->modified = !m_undo.atSavePoint();
    if (asked)
        m_services.host.workEnded();
    if (m_document->currentSection != before)
        announceSection();
    commandEpilogue();
}

void EditingSession::fraction()
{
    ensureMath();
    const CharacterDictionary& d = CharacterDictionary::instance();
    insertEntries({d.findOrDefault(kGaijiSet, u"\uE008", u"("), d.findOrDefault(kMathSet, u"\uFF0F", u"/"),
                   d.findOrDefault(kGaijiSet, u"\uE009", u")")});
    // The caret stands after the fraction's opening indicator.
    for (int i = 0; i < 2; ++i) {
        m_cursor.moveLeft();
        m_cursor.setDesired();
    }
    m_cursor.collapseSelection();
    commandEpilogue();
}

void EditingSession::root()
{
    ensureMath();
    insertEntries({CharacterDictionary::instance().findOrDefault(kMathSet, u"\u221A", u">")});
    commandEpilogue();
}

void EditingSession::brackets()
{
    const bool wasBraille = m_modes->isBraille();
    if (wasBraille) {
        if (m_modes->lastIsText())
            m_modes->switchToText();
        else
            m_modes->switchToMath(true);
        updateStatus();
    }
    // The brackets are typed through the TEXT or MATH input system, which gives them the cells
    // of that mode.
    act(m_modes->active().charTyped(u'('));
    act(m_modes->active().charTyped(u')'));
    m_cursor.moveLeft();
    m_cursor.setDesired();
    m_cursor.collapseSelection();
    if (wasBraille) {
        // BRAILLE comes back over the mode that was under it.
        m_modes->switchToBraille(m_modes->lastTextOrMath());
        updateStatus();
    }
    commandEpilogue();
}

void EditingSession::signCommand(char16_t print, char16_t cell)
{
    m_services.host.setBrailleButton(true);
    m_services.host.setStatusText(kBraillePane, u"BRAILLE");
    const SetNumber set = m_modes->isMath() ? kMathSet : kTextSet;
    insertEntries({CharacterDictionary::instance().findOrDefault(set, std::u16string_view(&print, 1),
                                                                 std::u16string_view(&cell, 1))});
    // The indication lasted only while the command ran; BRAILLE itself may still be on.
    updateStatus();
    commandEpilogue();
}

void EditingSession::switchSection(SectionKind kind)
{
    m_document->currentSection = kind;
    m_document->recountRows();
    announceSection();
    m_cursor.goTo(0, 0);
    m_cursor.collapseSelection();
    commandEpilogue();
}

} // namespace braille
