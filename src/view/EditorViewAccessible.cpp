#include "EditorViewAccessible.h"

#include "QtText.h"

#include "AccessibleText.h"
#include "EditorView.h"

namespace braille {

namespace {

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("braille::EditorView") && object && object->isWidgetType())
        return new EditorViewAccessible(static_cast<EditorView*>(object));
    return nullptr;
}

} // namespace

EditorViewAccessible::EditorViewAccessible(EditorView* view) : QAccessibleWidget(view, QAccessible::EditableText) {}

namespace {
EditorViewAccessible::Listener g_listener;
} // namespace

void EditorViewAccessible::install() { QAccessible::installFactory(factory); }

bool EditorViewAccessible::listening() { return g_listener || QAccessible::isActive(); }

void EditorViewAccessible::setListener(Listener listener) { g_listener = std::move(listener); }

void EditorViewAccessible::announce(QAccessibleEvent* event)
{
    if (g_listener)
        g_listener(event);
    QAccessible::updateAccessibility(event);
}

EditorView* EditorViewAccessible::view() const { return static_cast<EditorView*>(widget()); }

void* EditorViewAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString EditorViewAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name)
        return view()->accessibleTitle();
    return QAccessibleWidget::text(t);
}

QAccessible::State EditorViewAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = true;
    s.multiLine = true;
    s.focusable = true;
    return s;
}

void EditorViewAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    const BrailleDocument* document = view()->session().constDocument();
    const BrailleDocumentCursor& cursor = view()->session().cursor();
    if (selectionIndex != 0 || !document || !cursor.hasSelection())
        return;
    const AccessibleText text(*document);
    BrailleDocumentCursor walker = cursor;
    const CellPosition start = cursor.selectionStart(), stop = cursor.selectionStop();
    walker.goTo(start.row, start.column);
    *startOffset = int(text.offsetOf(walker));
    walker.goTo(stop.row, stop.column);
    *endOffset = int(text.offsetOf(walker));
}

int EditorViewAccessible::selectionCount() const { return view()->session().cursor().hasSelection() ? 1 : 0; }

void EditorViewAccessible::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void EditorViewAccessible::removeSelection(int) { view()->session().cursor().collapseSelection(); }

void EditorViewAccessible::setSelection(int, int startOffset, int endOffset)
{
    const BrailleDocument* document = view()->session().constDocument();
    if (!document)
        return;
    const AccessibleText text(*document);
    const CellPosition from = text.positionAt(std::size_t(std::max(startOffset, 0)));
    const CellPosition to = text.positionAt(std::size_t(std::max(endOffset, 0)));
    view()->session().placeCaretAt(from.row, from.column, false);
    view()->session().placeCaretAt(to.row, to.column, true);
}

int EditorViewAccessible::cursorPosition() const
{
    const BrailleDocument* document = view()->session().constDocument();
    return document ? int(AccessibleText(*document).offsetOf(view()->session().cursor())) : 0;
}

void EditorViewAccessible::setCursorPosition(int position)
{
    const BrailleDocument* document = view()->session().constDocument();
    if (!document)
        return;
    const CellPosition at = AccessibleText(*document).positionAt(std::size_t(std::max(position, 0)));
    view()->session().placeCaretAt(at.row, at.column, false);
}

QString EditorViewAccessible::text(int startOffset, int endOffset) const
{
    const BrailleDocument* document = view()->session().constDocument();
    if (!document || endOffset <= startOffset || startOffset < 0)
        return {};
    return qt(AccessibleText(*document).text(std::size_t(startOffset), std::size_t(endOffset)));
}

std::pair<int, int> EditorViewAccessible::around(int offset, QAccessible::TextBoundaryType boundary) const
{
    const BrailleDocument* document = view()->session().constDocument();
    if (!document)
        return {0, 0};
    const AccessibleText text(*document);
    const int length = int(text.length());
    offset = std::clamp(offset, 0, std::max(length - 1, 0));
    switch (boundary) {
    case QAccessible::CharBoundary: {
        // A character may read as several units (a sign's name, a kana with its small kana):
        // the whole of it, so that a screen reader moving onto it speaks all of it.
        const auto [a, b] = text.characterAround(std::size_t(offset));
        return {int(a), std::min(int(b), length)};
    }
    case QAccessible::WordBoundary: {
        const auto [a, b] = text.wordAround(std::size_t(offset));
        return {int(a), int(b)};
    }
    case QAccessible::NoBoundary:
        return {0, length};
    default: { // sentences, paragraphs and lines: the row
        const auto [a, b] = text.lineAround(std::size_t(offset));
        return {int(a), int(b)};
    }
    }
}

QString EditorViewAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                             int* endOffset) const
{
    const auto [a, b] = around(offset, boundaryType);
    *startOffset = a;
    *endOffset = b;
    return text(a, b);
}

QString EditorViewAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                                 int* startOffset, int* endOffset) const
{
    const auto [a, b] = around(offset, boundaryType);
    if (a <= 0) {
        *startOffset = *endOffset = 0;
        return {};
    }
    return textAtOffset(a - 1, boundaryType, startOffset, endOffset);
}

QString EditorViewAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                                int* endOffset) const
{
    const auto [a, b] = around(offset, boundaryType);
    if (b >= characterCount()) {
        *startOffset = *endOffset = characterCount();
        return {};
    }
    return textAtOffset(b, boundaryType, startOffset, endOffset);
}

int EditorViewAccessible::characterCount() const
{
    const BrailleDocument* document = view()->session().constDocument();
    return document ? int(AccessibleText(*document).length()) : 0;
}

QRect EditorViewAccessible::characterRect(int offset) const
{
    const BrailleDocument* document = view()->session().constDocument();
    if (!document)
        return {};
    const CellPosition at = AccessibleText(*document).positionAt(std::size_t(std::max(offset, 0)));
    const ViewMetrics& m = view()->metrics();
    const int top = int(at.row) - int(view()->session().scrollPosition());
    const QPoint local(m.cellLeft(at.column), (top + 1) * m.rowPitch);
    return QRect(view()->viewport()->mapToGlobal(local), QSize(m.cellWidth, m.rowHeight));
}

int EditorViewAccessible::offsetAtPoint(const QPoint& point) const
{
    const BrailleDocument* document = view()->session().constDocument();
    if (!document)
        return -1;
    const QPoint local = view()->viewport()->mapFromGlobal(point);
    const ViewMetrics& m = view()->metrics();
    if (m.rowPitch <= 0 || m.cellWidth <= 0)
        return -1;
    const std::uint32_t row = std::uint32_t(std::max(0, local.y() / m.rowPitch - 1)) + view()->session().scrollPosition();
    BrailleDocumentCursor probe = view()->session().cursor();
    probe.goTo(row, std::uint32_t(std::max(0, (local.x() - m.labelMargin) / m.cellWidth)));
    return int(AccessibleText(*document).offsetOf(probe));
}

void EditorViewAccessible::scrollToSubstring(int startIndex, int) { setCursorPosition(startIndex); }

QString EditorViewAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    *startOffset = offset;
    *endOffset = offset + 1;
    const BrailleDocument* document = view()->session().constDocument();
    if (!document)
        return {};
    const AccessibleText text(*document);
    const std::size_t at = std::size_t(std::max(offset, 0));
    // The attributes hold over the whole character, a sign's name included.
    const auto [a, b] = text.characterAround(at);
    *startOffset = int(a);
    *endOffset = int(b);
    return qt(text.attributesAt(at));
}

} // namespace braille
