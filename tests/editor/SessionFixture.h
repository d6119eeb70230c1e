#pragma once
// A session on a new document, driven by scripts as the window drives it: what the session tests
// share.

#include "DocumentBuilder.h"
#include "SessionScript.h"
#include "TestSupport.h"
#include "Utf.h"

#include <gtest/gtest.h>

namespace braille::test {

// A session on a new document, driven by scripts.
struct Session {
    ScriptedSession played;
    ScriptHost& host = played.host;
    MemoryClipboard& clipboard = played.clipboard;
    EditingSession& session = played.session;
    BrailleDocument document;

    explicit Session(std::u16string_view body = u"")
    {
        shippedDictionary();
        if (!body.empty())
            fillSection(document, body);
        session.setDocument(&document);
    }
    void run(std::u16string_view script)
    {
        std::string error;
        ASSERT_TRUE(runSessionScript(session, host, script, error)) << error;
        ASSERT_EQ(document.checkInvariants(), "");
    }
    // The current section's cells, paragraphs separated by "|", without the end marker.
    std::string cells() const
    {
        std::string out;
        const CharacterDictionary& d = CharacterDictionary::instance();
        for (const BrailleCharacter* e : flatCharacters(document)) {
            if (e == d.endMarkerEntry())
                continue;
            out += e == d.lineBreakEntry() ? "|" : u8(e->nabcc);
        }
        return out;
    }
    std::string prints() const { return test::prints(document, false); }
    std::string mode() const { return u8(host.pane(kModePane)) + (host.brailleButton() ? "+BRAILLE" : ""); }
    std::size_t undoSteps() const { return session.undoHistory().currentIndex(); }
};


} // namespace braille::test
