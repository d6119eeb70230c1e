#include "AccessibilityAnnouncer.h"

#include "AccessibleText.h"
#include "CharacterDictionary.h"
#include "EditingSession.h"
#include "EditorViewAccessible.h"
#include "QtText.h"

#include <QAccessible>

namespace braille {

void AccessibilityAnnouncer::announce(QObject* view, const EditingSession& session, const QString& name)
{
    const BrailleDocument* document = session.constDocument();
    if (!EditorViewAccessible::listening() || !document || !document->complete)
        return;
    const AccessibleText text(*document);
    const UndoHistory& undo = session.undoHistory();
    if (undo.currentSerial() != m_serial) {
        // Every edit since the last report, undone and redone ones too, is told as the text it
        // put in or took out; a long run of steps (a large paste) is heard through the caret.
        const UndoHistory::Change change = undo.changeSince(m_serial, 64);
        m_serial = undo.currentSerial();
        for (const UndoStep* step : change.steps) {
            if (step->kind == kInitialStep || step->section != document->currentSection)
                continue;
            BrailleDocumentCursor at = session.cursor();
            at.goToLocation(step->where);
            const int offset = int(text.offsetOf(at));
            // The text as the accessible text reads it (signs by their names), each character
            // after the two before it: those of the step, and before its first the paragraph's
            // characters ahead of the place, which the step did not change.
            const BrailleCharacter* before[2] = {nullptr, nullptr};
            if (at.isAttached()) {
                const CharacterSequence& chars = *at.rows.paragraph().characters;
                const std::uint32_t k = std::min<std::uint32_t>(at.character, std::uint32_t(chars.size()));
                before[0] = k > 0 ? chars[k - 1] : nullptr;
                before[1] = k > 1 ? chars[k - 2] : nullptr;
            }
            QString changed;
            for (const BrailleCharacter* e : step->entries) {
                changed += e == CharacterDictionary::instance().lineBreakEntry()
                               ? QStringLiteral("\n")
                               : qt(AccessibleText::readingOf(e, before[0], before[1]));
                before[1] = before[0];
                before[0] = e;
            }
            // Undoing an insertion takes its text out again, undoing a deletion puts it back.
            if ((step->kind == kInsertion) != change.undone) {
                QAccessibleTextInsertEvent event(view, offset, changed);
                EditorViewAccessible::announce(&event);
            } else {
                QAccessibleTextRemoveEvent event(view, offset, changed);
                EditorViewAccessible::announce(&event);
            }
        }
    }
    const int caret = int(text.offsetOf(session.cursor()));
    if (caret != m_caret) {
        m_caret = caret;
        QAccessibleTextCursorEvent event(view, caret);
        EditorViewAccessible::announce(&event);
    }
    if (name != m_name) {
        m_name = name;
        QAccessibleEvent event(view, QAccessible::NameChanged);
        EditorViewAccessible::announce(&event);
    }
}

} // namespace braille
