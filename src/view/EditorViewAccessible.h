#pragma once
// What a screen reader sees of the editor view: an editable text whose name tells the section
// and the mode, whose text is the section as AccessibleText reads it, with the caret, the
// selection, lines and words, and the braille of each character as its attributes.

#include <QAccessibleWidget>

#include <functional>

namespace braille {

class EditorView;

class EditorViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit EditorViewAccessible(EditorView* view);

    // Makes every EditorView accessible this way; call before the views exist.
    static void install();
    // Whether the views tell of their changes: while a screen reader listens (the platform's
    // accessibility is active) or an in-process listener is set.
    static bool listening();
    // Hears every event the views announce, before Qt passes it to the platform. Qt itself
    // hands its update handler nothing while no platform bridge is active (as off screen), so
    // this is how the announcements are heard in every test run.
    using Listener = std::function<void(QAccessibleEvent*)>;
    static void setListener(Listener listener);
    // Tells the listener and the platform of `event`.
    static void announce(QAccessibleEvent* event);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    EditorView* view() const;
    // The span of the boundary around an offset.
    std::pair<int, int> around(int offset, QAccessible::TextBoundaryType boundary) const;
};

} // namespace braille
