#include "EditingSession.h"

#include "DisplayDriverCodes.h"

#include "ChordKeys.h"
#include "CommandIds.h"
#include "VirtualKeys.h"

#include <algorithm>

namespace braille {

namespace {

// The six chord keys and their dots: F D S J K L are dots 1 to 6.
int dotOfKey(int key) { return key >= 0 && key < 0x10000 ? chordDotOfKey(char16_t(key)) : 0; }

} // namespace

EditingSession::EditingSession(Services services)
    : m_services(services), m_composer(dynamic_cast<ComposerInputMethod*>(&services.inputMethod)),
      m_undo(m_cursor, this), m_layout(services.layout),
      m_text(m_cursor, m_undo, m_scroll, services.inputMethod),
      m_math(m_cursor, m_undo, m_scroll, services.mathList),
      m_braille(m_cursor, m_undo, m_scroll, services.brailleList, m_noChordTimer),
      m_modes(std::make_unique<InputModeSwitch>(m_cursor, m_undo, m_text, m_math, m_braille))
{
    m_undo.reset();
    m_scroll.rowsPerPage = m_visibleRows;
    for (MovementInput* system : {static_cast<MovementInput*>(&m_text),
                                          static_cast<MovementInput*>(&m_math),
                                          static_cast<MovementInput*>(&m_braille)})
        system->setPageLayout(m_layout.LineNumber, m_layout.ColumnNumber);
    // The view enters TEXT when its window is created.
    m_text.activate();
    updateStatus();
}

EditingSession::~EditingSession() = default;

void EditingSession::setDocument(BrailleDocument* document)
{
    dropPending();
    stopChord();
    m_searchPattern.clear();
    m_lastFindSucceeded = false;
    m_document = document;
    if (document && document->cellsPerLine != m_layout.ColumnNumber)
        document->setCellsPerLine(m_layout.ColumnNumber);
    m_cursor.attach(document, 0, 0);
    m_undo.reset();
    m_scroll.position = 0;
    updateScrollRange();
    if (document)
        announceSection();
    updateStatus();
    m_services.host.repaint();
}

void EditingSession::dropPending()
{
    if (m_composer)
        m_composer->cancel();
    m_preedit.clear();
    m_text.cancelPending();
    m_math.cancelPending();
    m_braille.cancelPending();
    if (m_displayTimerRunning) {
        m_services.host.stopTimer(kDisplayFlushTimer);
        m_displayTimerRunning = false;
    }
}

void EditingSession::settlePending()
{
    if (!viewReady())
        return;
    if (m_modes->isText()) {
        // Letters being composed are committed, as an input method commits on a click; cells
        // typed on the display are converted as the pause after them would.
        if (m_composer)
            act(m_composer->flush(m_modes->active()));
        if (!m_text.pending().empty())
            flushDisplayCells(m_display.displaySet());
    } else {
        // Keys waiting for a choice among candidates are dropped, as Escape drops them.
        activeSystem().cancelPending();
    }
    notePendingChange();
}

void EditingSession::announceSection()
{
    static constexpr std::u16string_view names[] = {u"COVER", u"CONTENTS", u"BODY", u"COLOPHON"};
    m_services.host.setStatusText(kSectionPane, names[m_document->currentSection]);
    m_services.host.sectionChanged(m_document->currentSection);
}

bool EditingSession::viewReady() const { return m_document && m_document->complete && m_cursor.isAttached(); }

void EditingSession::message(std::u16string_view text) { m_services.host.message(text); }

MovementInput& EditingSession::activeSystem() const
{
    if (m_modes->isText())
        return m_modes->textSystem();
    if (m_modes->isMath())
        return m_modes->mathSystem();
    return m_modes->brailleSystem();
}

void EditingSession::act(int result)
{
    if (result & kCaretMoved)
        caretIntoView();
    if (result != kNotHandled) {
        m_drawnPending = pendingText();
        m_services.host.repaint();
    }
}

void EditingSession::notePendingChange()
{
    std::u16string now = pendingText();
    if (now != m_drawnPending) {
        m_drawnPending = std::move(now);
        m_services.host.repaint();
    }
}

void EditingSession::updateScrollRange()
{
    m_scroll.maximum = m_document ? m_document->section().rowCount : 0;
    m_scroll.position = std::min(m_scroll.position, m_scroll.maximum);
}

void EditingSession::caretIntoView()
{
    updateScrollRange();
    if (m_cursor.isAttached()) {
        const std::uint32_t row = m_cursor.row();
        if (row < m_scroll.position)
            m_scroll.position = row;
        else if (row >= m_scroll.position + m_visibleRows)
            m_scroll.position = row + 1 - m_visibleRows;
        m_scroll.position = std::min(m_scroll.position, m_scroll.maximum);
    }
    m_services.host.caretIntoView();
}

void EditingSession::setVisibleRows(std::uint32_t rows)
{
    m_visibleRows = std::max<std::uint32_t>(rows, 1);
    m_scroll.rowsPerPage = m_visibleRows;
    m_services.host.repaint();
}

void EditingSession::scrollTo(std::uint32_t row)
{
    updateScrollRange();
    m_scroll.position = std::min(row, m_scroll.maximum);
    m_services.host.repaint();
}

void EditingSession::scrollBy(int rows)
{
    const std::int64_t to = std::int64_t(m_scroll.position) + rows;
    scrollTo(std::uint32_t(std::max<std::int64_t>(to, 0)));
}

void EditingSession::setPageLayout(PageLayout layout)
{
    layout.ColumnNumber = std::max<std::uint32_t>(layout.ColumnNumber, 1);
    layout.LineNumber = std::max<std::uint32_t>(layout.LineNumber, 1);
    m_layout = layout;
    for (MovementInput* system : {static_cast<MovementInput*>(&m_text),
                                          static_cast<MovementInput*>(&m_math),
                                          static_cast<MovementInput*>(&m_braille)})
        system->setPageLayout(layout.LineNumber, layout.ColumnNumber);
    if (m_document && m_document->cellsPerLine != layout.ColumnNumber) {
        settlePending();
        const bool attached = m_cursor.isAttached();
        const DocumentLocation at = m_cursor.location();
        m_document->setCellsPerLine(layout.ColumnNumber);
        // The rows changed: the caret goes back to its character, the selection is dropped.
        if (attached) {
            m_cursor.attach(m_document, 0, 0);
            m_cursor.goToLocation(at);
            m_cursor.setDesired();
            m_cursor.collapseSelection();
        }
        caretIntoView();
    }
    m_services.host.repaint();
}

void EditingSession::markSaved()
{
    m_undo.setSavePoint();
    if (m_document)
        m_document->modified = false;
}

void EditingSession::markUnsaved()
{
    m_undo.clearSavePoint();
    if (m_document)
        m_document->modified = true;
}

void EditingSession::placeCaretAt(std::uint32_t row, double cellX, bool extend)
{
    if (!viewReady())
        return;
    settlePending();
    const std::uint32_t column = cellX <= 0 ? 0u : std::uint32_t(cellX);
    m_cursor.goTo(row, column);
    // A point on the right half of a character puts the caret after it.
    const BrailleCharacter* e = m_cursor.entry();
    if (e && m_cursor.column + 1 < m_cursor.rows.row().width &&
        cellX - m_cursor.column >= double(e->cellCount()) / 2) {
        m_cursor.moveRight();
        m_cursor.setDesired();
    }
    m_cursor.setSelectionEnd(!extend);
    caretIntoView();
    m_drawnPending = pendingText();
    m_services.host.repaint();
}

void EditingSession::updateStatus()
{
    m_services.host.setStatusText(kModePane, m_modes->modeText());
    m_services.host.setStatusText(kBraillePane, m_modes->brailleText());
    m_services.host.setBrailleButton(m_modes->isBraille());
    // The input method types only in TEXT; elsewhere the keys are letters.
    const int kana = m_modes->isText() ? m_text.inputMethodState() : 0;
    m_services.host.setStatusText(kKanaPane, kana == 8 ? u"あ" : kana == 2 ? u"ア" : u"A");
}

std::u16string EditingSession::pendingText() const
{
    if (m_modes->isText()) {
        if (m_composer && !m_composer->composition().empty())
            return m_composer->composition();
        return m_preedit.empty() ? m_text.pending() : m_preedit;
    }
    return m_modes->isMath() ? m_math.pending() : m_braille.pending();
}

// ---- Keys, characters, timers -------------------------------------------------------------

void EditingSession::syncShift(unsigned modifiers)
{
    MovementInput& system = activeSystem();
    const bool shift = modifiers & kShiftModifier;
    if (shift != system.shiftDown()) {
        if (shift)
            system.keyDown(vk::Shift, 1, 0);
        else
            system.keyUp(vk::Shift, 1, 0);
    }
}

bool EditingSession::keyDown(int key, unsigned modifiers, int repeat, std::uint32_t flags)
{
    m_modifiers = modifiers;
    if (key == vk::Shift)
        m_modifiers |= kShiftModifier;
    if (key == vk::Control)
        m_modifiers |= kControlModifier;
    const bool shift = m_modifiers & kShiftModifier, control = m_modifiers & kControlModifier;

    // In link mode Ctrl+Shift+Up and Down move the companion's caret first.
    Companion& companion = m_services.companion;
    if ((key == vk::Up || key == vk::Down) && shift && control && companion.isLinked() && companion.sendKey(key))
        return false;

    if (const int id = cmd::commandForKey(key, shift, control, m_modifiers & kAltModifier)) {
        command(id);
        return true;
    }

    syncShift(m_modifiers);
    updateScrollRange();
    InputSystem& active = m_modes->active();
    if (m_composer && m_modes->isText()) {
        // While letters are being composed, Backspace, Escape and Enter belong to them; Space
        // first commits them.
        int result = kNotHandled;
        if (m_composer->takeKey(key, active, result)) {
            act(result);
            notePendingChange();
            return false;
        }
        if (key == vk::Space)
            act(m_composer->flush(active));
    }
    if (control)
        flags |= vk::ControlHeldFlag;
    act(active.keyDown(key, repeat, flags));
    notePendingChange();
    return false;
}

void EditingSession::keyUp(int key, unsigned modifiers, int repeat, std::uint32_t flags)
{
    m_modifiers = modifiers;
    if (key == vk::Shift)
        m_modifiers &= ~unsigned(kShiftModifier);
    if (key == vk::Control)
        m_modifiers &= ~unsigned(kControlModifier);
    if (!viewReady())
        return;
    if (m_modes->isBraille() && dotOfKey(key)) {
        if (m_chordMask & dotOfKey(key))
            commitChord();
        return;
    }
    syncShift(m_modifiers);
    act(m_modes->active().keyUp(key, repeat, flags));
}

void EditingSession::focusLost()
{
    m_modifiers = kNoModifier;
    for (MovementInput* system : {static_cast<MovementInput*>(&m_text),
                                          static_cast<MovementInput*>(&m_math),
                                          static_cast<MovementInput*>(&m_braille)}) {
        system->keyUp(vk::Shift, 1, 0);
        system->keyUp(vk::Control, 1, 0);
    }
    // A chord whose keys were down when the focus went is dropped, not typed.
    stopChord();
}

void EditingSession::character(char16_t c)
{
    if (!viewReady())
        return;
    if (m_modes->isBraille() && chordDotOfKey(c)) {
        // Chord keys are collected, never typed: the chord is committed when one of its keys is
        // released or when its time window has passed.
        if (!m_chordTimerRunning) {
            m_chordMask = 0;
            m_services.host.startTimer(kChordTimer, BrailleKeyInput::kChordWindowMs);
            m_chordTimerRunning = true;
        }
        m_chordMask |= chordDotOfKey(c);
        return;
    }
    InputSystem& active = m_modes->active();
    if (m_composer && m_modes->isText() && m_composer->isOpen() && c > u' ')
        act(m_composer->type(c, active));
    else
        act(active.charTyped(c));
    notePendingChange();
}

void EditingSession::inputMethodResult(std::u16string_view text)
{
    m_preedit.clear();
    if (!viewReady() || text.empty()) {
        notePendingChange();
        return;
    }
    if (m_modes->isText()) {
        act(m_text.typeResult(text));
    } else {
        InputSystem& active = m_modes->active();
        for (char16_t c : text)
            act(active.charTyped(c));
    }
    notePendingChange();
}

void EditingSession::chooseCandidate(std::size_t line, bool commit)
{
    if (!viewReady())
        return;
    if (m_modes->isMath())
        act(m_math.chooseCandidate(line, commit));
    else if (m_modes->isBraille())
        act(m_braille.chooseCandidate(line, commit));
    notePendingChange();
}

void EditingSession::inputMethodPreedit(std::u16string_view text)
{
    m_preedit.assign(text);
    notePendingChange();
}

void EditingSession::commitChord()
{
    act(m_modes->active().chord(m_chordMask));
    stopChord();
}

void EditingSession::stopChord()
{
    if (m_chordTimerRunning) {
        m_services.host.stopTimer(kChordTimer);
        m_chordTimerRunning = false;
    }
    m_chordMask = 0;
}

void EditingSession::timer(int id)
{
    if (!viewReady())
        return;
    InputSystem& active = m_modes->active();
    if (id == kChordTimer) {
        if (m_modes->isBraille()) {
            if (m_chordTimerRunning)
                commitChord();
        } else {
            act(active.timerTick(kChordTimer));
            active.stopChordTimer();
        }
    } else if (id == kDisplayFlushTimer) {
        m_displayTimerRunning = true; // stopped by the flush
        flushDisplayCells(m_display.displaySet());
    }
    notePendingChange();
}

// ---- The braille display's keys ------------------------------------------------------------

void EditingSession::displayKeyDown(int key)
{
    if (key >= vk::FirstRoutingKey && key <= vk::LastRoutingKey) {
        if (viewReady())
            act(m_modes->active().routeCursor(std::uint32_t(key - vk::FirstRoutingKey)));
        return;
    }
    const SetNumber typedIn = m_display.displaySet();
    if (key > 0 && key < 0x10000)
        m_display.classify(char16_t(key));
    if (key == vk::Space)
        flushDisplayCells(typedIn);
    keyDown(key, m_modifiers);
}

bool EditingSession::displayDriverKey(int code)
{
    const DisplayDriverKey key = translateDisplayDriverKey(code);
    switch (key.kind) {
    case DisplayDriverKey::Cell:
        displayCharacter(char16_t(key.value));
        return true;
    case DisplayDriverKey::Routing:
        displayKeyDown(key.value);
        return true;
    case DisplayDriverKey::Key:
        // The display reports a press, never a release: the key is let go at once, so a Shift or
        // Ctrl from the display never stays held for the keyboard's next keys.
        keyDown(key.value, m_modifiers);
        keyUp(key.value, m_modifiers);
        return true;
    case DisplayDriverKey::None:
        break;
    }
    return false;
}

void EditingSession::displayCharacter(char16_t cell)
{
    if (!viewReady())
        return;
    // Cells still waiting are converted in the set they were typed in, before the indicator or
    // blank that ends them changes the set.
    const SetNumber typedIn = m_display.displaySet();
    const bool indicator = m_display.classify(cell);
    if (indicator || m_display.displayClass() != 0)
        flushDisplayCells(typedIn);
    if (indicator) {
        // An indicator is a sign of its own: it is written as a cell in BRAILLE, then the mode
        // the transcriber was in comes back.
        const bool wasBraille = m_modes->isBraille();
        if (!wasBraille) {
            m_modes->setLastTextOrMath(m_modes->active());
            m_modes->switchToBraille(m_modes->active());
        }
        act(m_braille.displayCell(m_display.displaySet(), cell));
        if (!wasBraille) {
            if (m_modes->lastIsText())
                m_modes->switchToText();
            else
                m_modes->switchToMath(false);
        }
        updateStatus();
        return;
    }
    InputSystem& active = m_modes->active();
    if (m_modes->isBraille()) {
        act(active.displayCell(m_display.displaySet(), cell));
        return;
    }
    // In TEXT and MATH cells are collected until a blank, or a second without keys, ends them.
    if (m_display.displayClass() == 0) {
        act(active.displayCellBuffered(m_display.displaySet(), cell));
        m_services.host.startTimer(kDisplayFlushTimer, 1000);
        m_displayTimerRunning = true;
    }
    notePendingChange();
}

void EditingSession::flushDisplayCells(SetNumber set)
{
    act(m_modes->active().flushDisplayCells(set));
    if (m_displayTimerRunning) {
        m_services.host.stopTimer(kDisplayFlushTimer);
        m_displayTimerRunning = false;
    }
}

// ---- Modes ---------------------------------------------------------------------------------

void EditingSession::toggleTextMath()
{
    const bool wasText = m_modes->isText(), wasMath = m_modes->isMath();
    m_modes->toggleTextMath();
    if (wasText)
        m_display.startMath();
    else if (wasMath)
        m_display.startText();
    updateStatus();
    commandEpilogue();
}

void EditingSession::toggleBraille()
{
    m_modes->toggleBraille();
    updateStatus();
    commandEpilogue();
}

void EditingSession::ensureMath()
{
    if (m_modes->isText()) {
        m_modes->setLastTextOrMath(m_modes->active());
        m_modes->switchToMath(true);
    } else if (m_modes->isBraille() && m_modes->lastIsText()) {
        m_modes->switchToMath(true);
    }
    updateStatus();
}

} // namespace braille
