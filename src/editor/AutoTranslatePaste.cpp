#include "AutoTranslatePaste.h"

#include "EditingSession.h"
#include "ReviewWords.h"

namespace braille {

AutoTranslatePasteResult pasteTranslated(EditingSession& session, const autotranslate::AutoTranslator* translator,
                                         std::u16string_view print, const std::string& openError)
{
    AutoTranslatePasteResult result;
    if (!translator) {
        result.error = openError.empty() ? "automatic translation is not available" : openError;
        return result;
    }
    if (!session.viewReady()) {
        result.error = "no document to type into";
        return result;
    }
    autotranslate::Translation translation = translator->translate(print);
    // Where the paste begins: the selection it replaces goes first.
    const BrailleDocumentCursor& cursor = session.cursor();
    const CellPosition from = cursor.hasSelection() ? cursor.selectionStart() : cursor.position();
    const DocumentLocation start = cursor.locationAt(from.row, from.column);
    const SectionKind section = session.constDocument()->currentSection;
    // The braille kana go in through TEXT as a pasted text does: one undo step, the rules
    // adding the number sign, the connector and the blanks after punctuation.
    const EditingSession::TextPaste pasted = session.pasteTextAsText(translation.braille);
    if (pasted.typed)
        result.review = placeTypedWords(*session.constDocument(), section, start, translation.braille,
                                        wordsToCheck(translation));
    result.typed = pasted.typed;
    result.leftOut = pasted.leftOut;
    result.guessed = std::move(translation.guessed);
    result.unknown = std::move(translation.unknown);
    return result;
}

} // namespace braille
