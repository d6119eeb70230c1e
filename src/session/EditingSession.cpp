#include "EditingSession.h"

#include "CommandIds.h"
#include "PageLayout.h"
#include "VirtualKeys.h"

namespace braille {

namespace {

// The six chord keys and their dots: F D S J K L are dots 1 to 6.
constexpr std::u16string_view kChordKeys = u"FDSJKL";

int dotOfCharacter(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        c = char16_t(c - u'a' + u'A');
    const std::size_t i = kChordKeys.find(c);
    return i == std::u16string_view::npos ? 0 : 1 << i;
}

} // namespace

EditingSession::EditingSession(Services services)
    : m_services(services), m_composer(dynamic_cast<ComposerInputMethod*>(&services.inputMethod)),
      m_undo(m_cursor, this), m_text(m_cursor, m_undo, m_scroll, services.inputMethod),
      m_math(m_cursor, m_undo, m_scroll, services.mathList),
      m_braille(m_cursor, m_undo, m_scroll, services.brailleList, m_noChordTimer),
      m_modes(std::make_unique<InputModeSwitch>(m_cursor, m_undo, m_text, m_math, m_braille))
{
    m_undo.reset();
    // The view enters TEXT when its window is created.
    m_text.activate();
    updateStatus();
}

EditingSession::~EditingSession() = default;

void EditingSession::setDocument(BrailleDocument* document)
{
    m_document = document;
    for (input_system_movement* system : {static_cast<input_system_movement*>(&m_text),
                                          static_cast<input_system_movement*>(&m_math),
                                          static_cast<input_system_movement*>(&m_braille)})
        system->setPageLayout(pageLayout().LineNumber, pageLayout().ColumnNumber);
    m_cursor.attach(document, 0, 0);
    m_undo.reset();
    if (document)
        announceSection();
    updateStatus();
    m_services.host.repaint();
}

void EditingSession::announceSection()
{
    static constexpr std::u16string_view names[] = {u"COVER", u"CONTENTS", u"BODY", u"COLOPHON"};
    m_services.host.setStatusText(kSectionPane, names[m_document->currentSection]);
    m_services.host.sectionChanged(m_document->currentSection);
}

bool EditingSession::viewReady() const { return m_document && m_document->complete && m_cursor.isAttached(); }

void EditingSession::message(std::u16string_view text) { m_services.host.message(text); }

void EditingSession::act(int result)
{
    if (result & kCaretMoved) {
        m_services.host.caretIntoView();
        m_services.host.repaint();
    }
}

void EditingSession::updateStatus()
{
    m_services.host.setStatusText(kModePane, m_modes->modeText());
    m_services.host.setStatusText(kBraillePane, m_modes->brailleText());
    m_services.host.setBrailleButton(m_modes->isBraille());
}

std::u16string EditingSession::pendingText() const
{
    if (m_modes->isText())
        return m_composer ? m_composer->composition() : std::u16string();
    return m_modes->isMath() ? m_math.pending() : m_braille.pending();
}

// ---- Keys, characters, timers -------------------------------------------------------------

void EditingSession::keyDown(int key, int repeat, std::uint32_t flags)
{
    if (key == vk::Shift)
        m_shift = true;
    if (key == vk::Control)
        m_control = true;
    if (flags & vk::ControlHeldFlag)
        m_control = true;

    // In link mode Ctrl+Shift+Up and Down move the companion's caret first.
    Companion& companion = m_services.companion;
    if ((key == vk::Up || key == vk::Down) && m_shift && m_control && companion.isLinked() && companion.sendKey(key))
        return;

    input_system& active = m_modes->active();
    if (m_composer && m_modes->isText()) {
        // While letters are being composed, Backspace, Escape and Enter belong to them; Space
        // first commits them.
        int result = kNotHandled;
        if (m_composer->takeKey(key, active, result)) {
            act(result);
            return;
        }
        if (key == vk::Space)
            act(m_composer->flush(active));
    }
    if (m_control)
        flags |= vk::ControlHeldFlag;
    act(active.keyDown(key, repeat, flags));
}

void EditingSession::keyUp(int key, int repeat, std::uint32_t flags)
{
    if (key == vk::Shift)
        m_shift = false;
    if (key == vk::Control)
        m_control = false;
    if (!viewReady())
        return;
    if (m_modes->isBraille() && dotOfKey(key)) {
        if (m_chordMask & dotOfKey(key))
            commitChord();
        return;
    }
    act(m_modes->active().keyUp(key, repeat, flags));
}

int EditingSession::dotOfKey(int key) { return key >= 0 && key < 0x10000 ? dotOfCharacter(char16_t(key)) : 0; }

void EditingSession::character(char16_t c)
{
    if (!viewReady())
        return;
    if (m_modes->isBraille() && dotOfCharacter(c)) {
        // Chord keys are collected, never typed: the chord is committed when one of its keys is
        // released or when its time window has passed.
        if (!m_chordTimerRunning) {
            m_chordMask = 0;
            m_services.host.startTimer(kChordTimer, input_system_braille::kChordWindowMs);
            m_chordTimerRunning = true;
        }
        m_chordMask |= dotOfCharacter(c);
        return;
    }
    input_system& active = m_modes->active();
    if (m_composer && m_modes->isText() && m_composer->isOpen() && c > u' ')
        act(m_composer->type(c, active));
    else
        act(active.charTyped(c));
}

void EditingSession::inputMethodResult(std::u16string_view text)
{
    if (!viewReady() || text.empty())
        return;
    if (m_modes->isText()) {
        act(m_text.typeResult(text));
        return;
    }
    input_system& active = m_modes->active();
    for (char16_t c : text)
        act(active.charTyped(c));
}

void EditingSession::commitChord()
{
    act(m_modes->active().chord(m_chordMask));
    if (m_chordTimerRunning) {
        m_services.host.stopTimer(kChordTimer);
        m_chordTimerRunning = false;
        m_chordMask = 0;
    }
}

void EditingSession::timer(int id)
{
    if (!viewReady())
        return;
    input_system& active = m_modes->active();
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
    keyDown(key);
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
    input_system& active = m_modes->active();
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
