#include "SessionScript.h"

#include "ChordKeys.h"
#include "ComposerInputMethod.h"
#include "FindReplaceForm.h"
#include "OriginalPages.h"
#include "Utf.h"
#include "VirtualKeys.h"

#include <cctype>
#include <charconv>

namespace braille {

void ScriptHost::wait(long milliseconds, EditingSession& session)
{
    const long until = m_now + milliseconds;
    for (;;) {
        auto due = m_deadlines.end();
        for (auto it = m_deadlines.begin(); it != m_deadlines.end(); ++it)
            if (it->second <= until && (due == m_deadlines.end() || it->second < due->second))
                due = it;
        if (due == m_deadlines.end())
            break;
        m_now = due->second;
        const int id = due->first;
        m_deadlines.erase(due);
        session.timer(id);
    }
    m_now = until;
}

bool ScriptHost::save(std::string& error)
{
    if (!m_saver) {
        error = "there is no file to save to";
        return false;
    }
    return m_saver(error);
}

std::u16string ScriptHost::pane(int n) const
{
    auto it = m_panes.find(n);
    return it == m_panes.end() ? std::u16string() : it->second;
}

bool MemoryClipboard::put(const std::vector<std::uint8_t>& bytes)
{
    m_block = bytes.empty() ? std::nullopt : std::optional(bytes);
    return true;
}

namespace {

struct NamedKey {
    std::string_view name;
    int key;
    char16_t character; // what the key types, 0 for none
};

constexpr NamedKey kNamedKeys[] = {
    {"Enter", vk::Return, u'\r'}, {"BS", vk::Back, u'\b'},    {"Del", vk::Delete, 0},   {"Space", vk::Space, u' '},
    {"Esc", vk::Escape, 0x1B},    {"Tab", vk::Tab, u'\t'},    {"Left", vk::Left, 0},    {"Right", vk::Right, 0},
    {"Up", vk::Up, 0},            {"Down", vk::Down, 0},      {"Home", vk::Home, 0},    {"End", vk::End, 0},
    {"PgUp", vk::PageUp, 0},      {"PgDn", vk::PageDown, 0},  {"F1", vk::F1, 0},        {"F2", vk::F2, 0},
    {"F3", vk::F3, 0},            {"F4", vk::F4, 0},          {"F5", 0x74, 0},          {"F6", 0x75, 0},
    {"F7", 0x76, 0},              {"F8", 0x77, 0},            {"F9", 0x78, 0},
};

// The virtual key of a typed ASCII character: letters and digits are their own keys; other
// characters get a punctuation key, which the input systems do not act on.
int keyOfCharacter(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 'A';
    if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
        return c;
    return 0xBA;
}

class ScriptRunner {
public:
    ScriptRunner(EditingSession& session, ScriptHost& host) : m_session(session), m_host(host) {}

    // Runs the script; an error names what could not be understood.
    bool run(std::u16string_view script, std::string& error)
    {
        std::size_t i = 0;
        while (i < script.size()) {
            if (script[i] == u'{') {
                const std::size_t close = script.find(u'}', i + 1);
                if (close == std::u16string_view::npos) {
                    error = "a { without its }";
                    return false;
                }
                if (!token(script.substr(i + 1, close - i - 1), error))
                    return false;
                i = close + 1;
                continue;
            }
            // A run of plain characters up to the next token.
            std::size_t end = script.find(u'{', i);
            if (end == std::u16string_view::npos)
                end = script.size();
            typeText(script.substr(i, end - i));
            i = end;
        }
        return true;
    }

private:
    void press(int key, char16_t character, unsigned modifiers = kNoModifier)
    {
        if (m_session.keyDown(key, modifiers))
            return; // an accelerator: its character is not typed
        if (character && !(modifiers & kControlModifier))
            m_session.character(character);
        m_session.keyUp(key, modifiers, 1, vk::RepeatFlag);
    }

    void typeText(std::u16string_view text)
    {
        std::u16string foreign; // non-ASCII characters go to the input method in TEXT mode
        auto flushForeign = [&] {
            for (const std::u16string& piece : ImeInput::resultPieces(foreign))
                m_session.inputMethodResult(piece);
            foreign.clear();
        };
        for (char16_t c : text) {
            if (c >= 0x80 && m_session.modes().isText()) {
                foreign.push_back(c);
                continue;
            }
            flushForeign();
            if (c == u'\n')
                press(vk::Return, u'\r');
            else if (c == u' ')
                press(vk::Space, u' ');
            else if (c >= 0x80)
                m_session.character(c);
            else
                press(keyOfCharacter(c), c);
        }
        flushForeign();
    }

    bool token(std::u16string_view body, std::string& error)
    {
        const std::string text = toUtf8(body);
        const std::size_t colon = text.find(':');
        if (colon != std::string::npos) {
            const std::string name = text.substr(0, colon);
            const std::u16string argument = fromUtf8(text.substr(colon + 1));
            if (name == "ime") {
                m_session.inputMethodResult(argument);
                return true;
            }
            if (name == "chord")
                return chord(argument, error);
            if (name == "find" || name == "find-up" || name == "replace" || name == "replace-all")
                return findToken(name, argument, error);
            if (name == "pages") {
                // The original-page editor's label column holding these lines, then OK.
                if (m_session.mayEditOriginalPages()) {
                    std::vector<std::u16string> lines;
                    std::size_t start = 0;
                    for (;;) {
                        const std::size_t comma = argument.find(u',', start);
                        lines.push_back(argument.substr(start, comma == std::u16string::npos ? comma : comma - start));
                        if (comma == std::u16string::npos)
                            break;
                        start = comma + 1;
                    }
                    for (std::u16string& line : lines)
                        std::erase_if(line, [](char16_t c) { return !originalPageKeyAccepted(c) || c < u'0'; });
                    m_session.applyOriginalPages(
                        originalPageLabels(lines, m_session.document()->section().rowCount));
                }
                return true;
            }
            if (name == "disp") {
                for (char16_t c : argument)
                    m_session.displayCharacter(c);
                return true;
            }
            if (name == "wait" || name == "route" || name == "dispkey" || name == "cmd") {
                long value = 0;
                const std::string digits = text.substr(colon + 1);
                auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
                if (ec != std::errc() || end != digits.data() + digits.size() || value < 0) {
                    error = "{" + text + "} needs a number";
                    return false;
                }
                if (name == "wait")
                    m_host.wait(value, m_session);
                else if (name == "route")
                    m_session.displayKeyDown(vk::FirstRoutingKey + int(value));
                else if (name == "dispkey")
                    m_session.displayDriverKey(int(value));
                else if (!m_session.command(int(value))) {
                    error = "no command " + digits;
                    return false;
                }
                return true;
            }
            error = "unknown token {" + text + "}";
            return false;
        }
        // Keys with modifiers: S- Shift, C- Control, A- Alt.
        std::string_view rest = text;
        unsigned modifiers = kNoModifier;
        while (rest.size() > 2 && rest[1] == '-' && (rest[0] == 'S' || rest[0] == 'C' || rest[0] == 'A')) {
            modifiers |= rest[0] == 'S' ? kShiftModifier : rest[0] == 'C' ? kControlModifier : kAltModifier;
            rest.remove_prefix(2);
        }
        const bool shift = modifiers & kShiftModifier, control = modifiers & kControlModifier;
        if (control && !shift && (rest == "s" || rest == "S")) {
            // Saving is the window's command; the script's host does it.
            if (!m_host.save(error)) {
                error = "{C-s}: " + error;
                return false;
            }
            m_session.markSaved();
            return true;
        }
        int key = 0;
        char16_t character = 0;
        for (const NamedKey& k : kNamedKeys)
            if (k.name == rest) {
                key = k.key;
                character = k.character;
            }
        if (!key && rest.size() == 1 && modifiers && std::isalnum(static_cast<unsigned char>(rest[0]))) {
            key = keyOfCharacter(char16_t(rest[0]));
            character = char16_t(shift ? std::toupper(static_cast<unsigned char>(rest[0])) : rest[0]);
        }
        if (!key) {
            error = "unknown key {" + text + "}";
            return false;
        }
        // The modifier keys go down before the key and up after it, as a keyboard sends them.
        if (control)
            m_session.keyDown(vk::Control, kControlModifier);
        if (shift)
            m_session.keyDown(vk::Shift, modifiers & (kShiftModifier | kControlModifier));
        press(key, character, modifiers);
        if (shift)
            m_session.keyUp(vk::Shift, modifiers & kControlModifier);
        if (control)
            m_session.keyUp(vk::Control);
        return true;
    }

    // The find dialog: opened by the first such token (with the selection as its find text) and
    // kept open, so that successive tokens are successive clicks.
    bool findToken(const std::string& name, std::u16string_view argument, std::string& error)
    {
        const bool replacing = name == "replace" || name == "replace-all";
        std::u16string_view find = argument, replace;
        if (replacing) {
            const std::size_t equals = argument.find(u'=');
            if (equals == std::u16string_view::npos) {
                error = "{" + name + ":FIND=REPLACEMENT} needs the = between the two";
                return false;
            }
            find = argument.substr(0, equals);
            replace = argument.substr(equals + 1);
        }
        std::optional<FindReplaceForm>& dialog = m_host.findDialog();
        if (!dialog) {
            dialog.emplace(m_session.document() ? m_session.document()->cellsPerLine : 32);
            if (m_session.cursor().hasSelection())
                dialog->setInitialFind(m_session.selectedEntries());
        }
        FindReplaceForm& form = *dialog;
        fill(form, FindReplaceForm::Field::Find, find);
        if (replacing)
            fill(form, FindReplaceForm::Field::Replace, replace);
        form.setDown(name != "find-up");
        m_session.findReplace(name == "replace"       ? form.replaceAndNext()
                              : name == "replace-all" ? form.replaceAll()
                                                      : form.findNext());
        return true;
    }

    // Types `text` into the field in Text mode unless it shows that text already.
    static void fill(FindReplaceForm& form, FindReplaceForm::Field field, std::u16string_view text)
    {
        form.setActive(field);
        form.setMode(FindReplaceForm::Mode::Text);
        FindReplaceForm probe;
        probe.typeText(text);
        if (form.entries(field) == probe.entries(FindReplaceForm::Field::Find))
            return;
        form.key(vk::End);
        while (!form.entries(field).empty() && form.caret(field) > 0)
            form.key(vk::Back);
        while (!form.entries(field).empty())
            form.key(vk::Delete);
        form.typeText(text);
    }

    bool chord(std::u16string_view keys, std::string& error)
    {
        for (char16_t c : keys) {
            if (!chordDotOfKey(c)) {
                error = "a chord is made of the keys F D S J K L";
                return false;
            }
        }
        for (char16_t c : keys) {
            m_session.keyDown(keyOfCharacter(c));
            m_session.character(char16_t(c | 0x20));
        }
        for (char16_t c : keys)
            m_session.keyUp(keyOfCharacter(c), 1, vk::RepeatFlag);
        return true;
    }

    EditingSession& m_session;
    ScriptHost& m_host;
};

} // namespace

bool runSessionScript(EditingSession& session, ScriptHost& host, std::u16string_view script, std::string& error)
{
    return ScriptRunner(session, host).run(script, error);
}

} // namespace braille
