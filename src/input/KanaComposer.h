#pragma once
// Tenkora's own romaji-to-kana composer, used when no system input method is active.
//
// It takes typed Latin keys one at a time and turns them into hiragana or katakana the way a
// Japanese input method's romaji mode does: Hepburn and kunrei spellings, yōon, the extra sounds
// of loanwords (fa, vu, thi, twu, tsa, ...), small kana after "x" or "l", ん from "nn", "n'" or
// an "n" before another consonant, っ from a doubled consonant, and Japanese punctuation.
//
// Text is committed syllable by syllable, as soon as a syllable is complete, because the braille
// rules run on each committed piece: "kyouha" commits "きょ", "う", "は" on the keys "o", "u",
// "a". A doubled consonant commits っ on its own, at the second consonant ("kitte": "き" on "i",
// "っ" on the second "t", "て" on "e"), and the second consonant stays in the composition. One
// key can still commit more than one piece when it ends a pending "n" as well: "n" then ","
// commits "ん、".
//
// Uppercase letters compose exactly like their lowercase forms ("KA" gives か), as in the common
// input methods; the composition shows the letters as typed, and a letter that falls back to a
// full-width form keeps its case ("Q" then "1" gives "Ｑ１").
//
// "nn" is ん, so "konnichiha" gives こんいちは; type "konnnichiha" or "kon'nichiha" for
// こんにちは, as in the common input methods.
//
// The composer holds no text other than the unfinished Latin letters; it knows nothing of the
// document. When it is closed every key passes through unchanged.

#include <span>
#include <string>
#include <string_view>

namespace braille {

class KanaComposer {
public:
    enum class Kana { Hiragana, Katakana };

    // One spelling of the romaji table and the hiragana it gives.
    struct RomajiEntry {
        std::string_view romaji;
        std::u16string_view hiragana;
    };
    // The whole table, lowercase spellings. No spelling is the start of a longer one, so a
    // syllable is complete as soon as its spelling is; "n" alone is handled outside the table.
    static std::span<const RomajiEntry> romajiTable();

    bool isOpen() const { return m_open; }
    // Closing drops the composition without committing it: the caller flushes first.
    void setOpen(bool open);
    Kana kana() const { return m_kana; }
    // Applies to text committed from now on, including syllables finished from the composition.
    void setKana(Kana kana) { m_kana = kana; }

    // One typed character. Returns the text committed by this key (empty when it only extends
    // the composition). Printable ASCII that does not compose becomes its full-width form (space
    // becomes U+3000) after the composition is flushed; any other character is returned
    // unchanged after the flush. When closed, the character is returned unchanged.
    std::u16string type(char16_t c);
    // The unfinished Latin letters, shown to the user.
    const std::u16string& composition() const { return m_pending; }
    // Commits what is left: a leading "n" as ん, other letters as full-width letters.
    std::u16string flush();
    // Removes the last unfinished letter; false when there was none.
    bool backspace();
    void cancel() { m_pending.clear(); }

private:
    void resolve(std::u16string& out);
    void appendKana(std::u16string& out, std::u16string_view hiragana) const;

    std::u16string m_pending;
    Kana m_kana = Kana::Hiragana;
    bool m_open = true;
};

} // namespace braille
