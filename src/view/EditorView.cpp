#include "EditorView.h"

#include "QtText.h"

#include "Prompts.h"
#include "CandidateListWidget.h"
#include "CommandIds.h"
#include "DisplayDriverCodes.h"
#include "EditorViewAccessible.h"
#include "KanaSpelling.h"
#include "KeyTranslation.h"
#include "ViewMenus.h"
#include "VirtualKeys.h"

#include <QApplication>

#include <algorithm>
#include <QContextMenuEvent>
#include <QPainter>
#include <QInputMethod>
#include <QScrollBar>


namespace braille {

namespace {

constexpr int kCaretBlinkMs = 200;

} // namespace

EditorView::EditorView(PageLayout layout, QWidget* parent, bool systemInputMethod)
    : QAbstractScrollArea(parent), m_layout(layout), m_usesSystemInputMethod(systemInputMethod)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::IBeamCursor);
    // A line wider than the window (a large font, many cells per line) scrolls sideways.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    const auto choose = [this](std::size_t line, bool commit) {
        m_session->chooseCandidate(line, commit);
        emit stateChanged();
    };
    m_mathList = std::make_unique<CandidateListWidget>(viewport(), choose);
    m_brailleList = std::make_unique<CandidateListWidget>(viewport(), choose);
    m_session = std::make_unique<EditingSession>(EditingSession::Services{
        m_services, m_clipboard, m_companion,
        systemInputMethod ? static_cast<InputMethod&>(m_systemInputMethod) : m_composer, *m_mathList, *m_brailleList,
        layout});

    m_caretBlink.setInterval(kCaretBlinkMs);
    connect(&m_caretBlink, &QTimer::timeout, this, [this] {
        m_caretOn = !m_caretOn;
        viewport()->update(QRect(screenCaret(), QSize(4, m_metrics.rowHeight)));
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        // The picture is as wide as a whole line: scrolling sideways only shows another part.
        viewport()->update();
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_updatingScrollBar && int(m_session->scrollPosition()) != value)
            m_session->scrollTo(std::uint32_t(std::max(value, 0)));
    });
    // The display follows the book, not the painting (a minimised window paints nothing).
    m_displayUpdate.setSingleShot(true);
    connect(&m_displayUpdate, &QTimer::timeout, this, [this] { showOnDisplay(); });
    setPointSize(m_pointSize);
    m_display = std::make_unique<BrailleDisplayLink>();
    qApp->installEventFilter(this);
}

EditorView::~EditorView() = default;

void EditorView::startDisplay(const QString& libraryPath, std::optional<int> port)
{
    m_display->start(libraryPath, port,
                     {[this](int code) {
                          // The display's cells, routing keys and function keys, as the session
                          // takes them from the display. A key that comes while a long paste or
                          // undo is under way waits until it is over, never runs in its middle.
                          if (m_services.busy()) {
                              m_heldDisplayKeys.push_back(code);
                              return;
                          }
                          m_session->displayDriverKey(code);
                          emit stateChanged();
                      },
                      [this](const QString& text) { emit displayProblem(text); }});
}

void EditorView::setDocument(BrailleDocument* document)
{
    m_loading = false;
    m_document = document;
    m_dragging = m_mouseSeen = false;
    m_session->setDocument(document);
    updatePlace();
    updateVisibleRows();
    requestFullRepaint();
    emit stateChanged();
}

void EditorView::showLoading(std::uint64_t done, std::uint64_t total)
{
    m_loading = true;
    m_loadDone = done;
    m_loadTotal = total;
    requestFullRepaint();
}

void EditorView::hideLoading()
{
    m_loading = false;
    requestFullRepaint();
}

void EditorView::setLinkMode(bool linkMode)
{
    m_linkMode = linkMode;
    updatePlace();
    m_metrics = ViewMetrics::of(m_font, m_linkMode, m_style);
    requestFullRepaint();
}

void EditorView::setHighContrast(bool on)
{
    m_highContrast = on;
    requestFullRepaint();
}

void EditorView::setViewStyle(ViewStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    // The print under the cells makes the rows taller, so fewer fit.
    m_metrics = ViewMetrics::of(m_font, m_linkMode, m_style);
    updateVisibleRows();
    requestFullRepaint();
}

void EditorView::setPointSize(int points)
{
    m_pointSize = std::clamp(points, 6, 72);
    m_font = braille::viewFont(m_pointSize);
    m_metrics = ViewMetrics::of(m_font, m_linkMode, m_style);
    updateVisibleRows();
    requestFullRepaint();
    emit pointSizeChanged(m_pointSize);
}

ViewFrame EditorView::frame(QSize size) const
{
    ViewFrame f;
    f.size = size;
    f.document = m_document;
    f.cursor = &m_session->cursor();
    f.top = m_session->scrollPosition();
    f.cellsPerLine = m_document ? m_document->cellsPerLine : m_layout.ColumnNumber;
    f.options.linesPerPage = m_session->pageLayout().LineNumber;
    f.options.linkMode = m_linkMode;
    f.loading = m_loading || !m_document || !m_document->complete;
    f.loadDone = m_loadDone;
    f.loadTotal = m_loadTotal;
    f.pending = qt(m_session->pendingText());
    f.highContrast = m_highContrast;
    f.style = m_style;
    return f;
}

void EditorView::syncInputMethod()
{
    const bool text = m_session && m_session->modes().isText();
    if (testAttribute(Qt::WA_InputMethodEnabled) == text)
        return;
    setAttribute(Qt::WA_InputMethodEnabled, text);
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

void EditorView::runCommand(int id)
{
    m_session->command(id);
    emit stateChanged();
}

// ---- Painting ----------------------------------------------------------------------------

void EditorView::requestFullRepaint()
{
    m_fullRepaint = true;
    viewport()->update();
    m_displayUpdate.start();
}

void EditorView::paintEvent(QPaintEvent*)
{
    const QSize size(contentWidth(), viewport()->height());
    const qreal ratio = devicePixelRatioF();
    if (m_fullRepaint || m_picture.size() != size * ratio) {
        if (m_picture.size() != size * ratio) {
            m_picture = QPixmap(size * ratio);
            m_picture.setDevicePixelRatio(ratio);
        }
        QPainter p(&m_picture);
        m_painted = paintView(p, m_font, m_metrics, frame(size));
        ++m_fullRepaints;
        // The candidate lists stand just below the pending keys.
        const QPoint below = screenCaret() + QPoint(2, m_metrics.rowHeight + 2);
        m_mathList->place(below.x(), below.y());
        m_brailleList->place(below.x(), below.y());
    }
    QPainter screen(viewport());
    screen.drawPixmap(-hOffset(), 0, m_picture);
    if (!m_loading)
        paintCaret(screen);
    // The input method's candidate window follows the caret.
    if (m_painted.caret != m_lastCaretPoint && hasFocus() && testAttribute(Qt::WA_InputMethodEnabled))
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
    m_lastCaretPoint = m_painted.caret;
    // Later paints (the caret's blinking, a caret-only update, the window being uncovered)
    // reuse the picture until a change asks for a full repaint again.
    m_fullRepaint = false;
}

void EditorView::showOnDisplay()
{
    // The display shows the caret's row whenever a full repaint is asked for, painted or not;
    // the caret-only updates while an arrow key is held do not ask, so holding a key does not
    // flood the display.
    m_display->registerTarget();
    if (m_loading || !m_document || !m_document->complete || !m_session->cursor().isAttached())
        return;
    const BandPicture band = pictureBand(m_session->cursor());
    m_display->show(displayRowBytes(band.text), int(band.caretCell));
}

void EditorView::paintCaret(QPainter& painter) const
{
    if (!m_painted.caretVisible || !hasFocus() || !m_caretOn)
        return;
    const Palette& pal = m_highContrast ? Palette::highContrast() : Palette::normal();
    painter.fillRect(QRect(screenCaret(), QSize(pal.caretWidth, m_metrics.rowHeight)), pal.caret);
}

void EditorView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateVisibleRows();
    requestFullRepaint();
}

void EditorView::updateVisibleRows()
{
    if (m_metrics.rowPitch <= 0)
        return;
    // Rows between the ruler and the braille band.
    const int height = viewport()->height() - m_metrics.rowHeight - m_metrics.rowPitch;
    m_session->setVisibleRows(std::uint32_t(std::max(1, height / m_metrics.rowPitch + 1)));
    updateScrollBar();
}

int EditorView::hOffset() const { return horizontalScrollBar()->value(); }

int EditorView::contentWidth() const
{
    // Row labels, the cells of a line, and the original-page column after them.
    const std::uint32_t cells = m_document ? m_document->cellsPerLine : m_layout.ColumnNumber;
    const int line = m_metrics.labelMargin + int(cells + (m_linkMode ? 1 : 6)) * m_metrics.cellWidth;
    return std::max(viewport()->width(), line);
}

void EditorView::keepCaretInViewSideways()
{
    const BrailleDocumentCursor& c = m_session->cursor();
    if (!c.isAttached())
        return;
    const int x = m_metrics.cellLeft(c.column);
    const int width = viewport()->width();
    QScrollBar* bar = horizontalScrollBar();
    if (x - m_metrics.labelMargin < hOffset())
        bar->setValue(x - m_metrics.labelMargin);
    else if (x + 2 * m_metrics.cellWidth > hOffset() + width)
        bar->setValue(x + 2 * m_metrics.cellWidth - width);
}

void EditorView::updateScrollBar()
{
    m_updatingScrollBar = true;
    QScrollBar* sideways = horizontalScrollBar();
    sideways->setRange(0, contentWidth() - viewport()->width());
    sideways->setPageStep(viewport()->width());
    sideways->setSingleStep(std::max(m_metrics.cellWidth, 1));
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, int(m_session->scrollMaximum()));
    bar->setPageStep(int(std::max<std::uint32_t>(m_session->visibleRows(), 1)));
    bar->setValue(int(m_session->scrollPosition()));
    m_updatingScrollBar = false;
}

void EditorView::scrollContentsBy(int, int)
{
    // The session keeps the position; the bar only reports changes (see the constructor).
}

// ---- What the session asks of the window -------------------------------------------------

void EditorView::Services::startTimer(int id, int milliseconds) { m_view.m_timers.start(id, milliseconds); }

void EditorView::Services::stopTimer(int id) { m_view.m_timers.stop(id); }

void EditorView::Services::setStatusText(int pane, std::u16string_view text)
{
    if (pane == kModePane)
        m_view.syncInputMethod();
    emit m_view.statusTextChanged(pane, qt(text));
}

void EditorView::Services::setBrailleButton(bool pressed) { emit m_view.brailleButtonChanged(pressed); }

void EditorView::Services::message(std::u16string_view text) { Prompts::tell(qt(text), &m_view); }

void EditorView::Services::caretIntoView()
{
    m_view.updateScrollBar();
    m_view.keepCaretInViewSideways();
    emit m_view.caretShown();
}

void EditorView::Services::repaint()
{
    m_view.sessionRepaint();
    m_view.m_announcer.announce(&m_view, *m_view.m_session, m_view.accessibleTitle());
}

QString EditorView::accessibleTitle() const
{
    static const char16_t* const sections[] = {u"表紙", u"目次", u"本文", u"奥付"};
    const BrailleDocument* document = m_session->constDocument();
    QString title = document ? QString::fromUtf16(sections[document->currentSection % 4]) : QString();
    title += u' ' + QString::fromUtf16(m_session->modes().modeText().data(), qsizetype(m_session->modes().modeText().size()));
    if (m_session->modes().isBraille())
        title += QStringLiteral(" BRAILLE");
    return title;
}

void EditorView::updatePlace()
{
    // Link mode numbers no pages; a book still loading has no caret.
    const QString text = m_linkMode || !m_session->viewReady()
                             ? QString()
                             : qt(caretPlaceText(m_session->cursor(), m_session->pageLayout().LineNumber));
    if (text == m_placeText)
        return;
    m_placeText = text;
    emit statusTextChanged(kPlacePane, text);
}

void EditorView::sessionRepaint()
{
    updateScrollBar();
    // Before the caret-only path returns: the pane follows a held arrow key too.
    updatePlace();
    if (m_keyRepeating) {
        // Holding Left or Right moves only the caret; the rows are drawn again on release.
        viewport()->update(QRect(m_lastCaretPoint - QPoint(hOffset(), 0), QSize(4, m_metrics.rowHeight)));
        const BrailleDocumentCursor& c = m_session->cursor();
        if (c.isAttached() && c.row() >= m_painted.firstRow && c.row() <= m_painted.lastRow) {
            m_painted.caret = QPoint(m_metrics.cellLeft(c.column),
                                     int(c.row() - m_painted.firstRow + 1) * m_metrics.rowPitch);
            viewport()->update(QRect(screenCaret(), QSize(4, m_metrics.rowHeight)));
            return;
        }
    }
    requestFullRepaint();
    emit stateChanged();
}

void EditorView::Services::sectionChanged(SectionKind kind) { emit m_view.editedSectionChanged(int(kind)); }

bool EditorView::Services::workGoesOn(std::size_t done, std::size_t total)
{
    if (!m_progress) {
        m_cancelled = false;
        m_progress = Prompts::progress(QStringLiteral("貼り付けています…"), &m_view, 1000, 500);
        QObject::connect(m_progress.get(), &QProgressDialog::canceled, &m_view, [this] { m_cancelled = true; });
    }
    // Per mille, so that any size fits the dialog's range. Once the dialog shows, it keeps the
    // keyboard and the mouse from the window, and its cancel button is heard; before that no
    // key may reach the book in the middle of the paste.
    m_progress->setValue(total ? int(done * 1000 / total) : 0);
    QCoreApplication::processEvents(m_progress->isVisible() ? QEventLoop::AllEvents
                                                            : QEventLoop::ExcludeUserInputEvents);
    return !m_cancelled;
}

void EditorView::Services::workEnded()
{
    m_progress.reset();
    m_cancelled = false;
    // The display's keys that came meanwhile, in order, once the work is over.
    if (!m_view.m_heldDisplayKeys.empty())
        QTimer::singleShot(0, &m_view, [view = &m_view] {
            std::vector<int> keys;
            keys.swap(view->m_heldDisplayKeys);
            for (int code : keys)
                view->m_session->displayDriverKey(code);
            emit view->stateChanged();
        });
}

// ---- Keys --------------------------------------------------------------------------------

void EditorView::keyPressEvent(QKeyEvent* event)
{
    TranslatedKey key = translateKey(*event);
    // Zoom for low vision: Ctrl++ and Ctrl+-.
    if ((event->modifiers() & Qt::ControlModifier) && (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal)) {
        setPointSize(m_pointSize + 2);
        return;
    }
    if ((event->modifiers() & Qt::ControlModifier) && event->key() == Qt::Key_Minus) {
        setPointSize(m_pointSize - 2);
        return;
    }
    if (key.key == vk::Apps) { // the application key: the right-click menu at the caret
        showContextMenu(screenCaret() + QPoint(0, m_metrics.rowHeight));
        return;
    }
    m_keyRepeating = key.autoRepeat && (key.key == vk::Left || key.key == vk::Right);
    QString text = event->text();
    // In BRAILLE the six keys are found by their place on the keyboard, not by their letter.
    if (m_session->modes().isBraille() && !(key.modifiers & (kControlModifier | kAltModifier)))
        if (const char16_t letter = chordLetterOf(*event)) {
            key.key = letter;
            text = QString(QChar(letter).toLower());
        }
    bool command = false;
    if (key.key)
        command = m_session->keyDown(key.key, key.modifiers, 1, key.autoRepeat ? vk::RepeatFlag : 0);
    // The typed character, unless the key ran a command or Control/Alt made it a shortcut.
    if (!command && !(key.modifiers & (kControlModifier | kAltModifier)))
        for (QChar c : text)
            m_session->character(c.unicode());
    event->accept();
    emit stateChanged();
}

void EditorView::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat())
        return;
    TranslatedKey key = translateKey(*event);
    if (m_session->modes().isBraille())
        if (const char16_t letter = chordLetterOf(*event))
            key.key = letter;
    if (m_keyRepeating) {
        m_keyRepeating = false;
        requestFullRepaint();
    }
    if (key.key)
        m_session->keyUp(key.key, key.modifiers);
    event->accept();
}

void EditorView::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty()) {
        const QString text = event->commitString();
        // Kanji an input method converted to (東京) are print: in TEXT the window translates them
        // automatically; kana go straight in with the rules.
        const bool kanji = std::any_of(text.begin(), text.end(),
                                       [](QChar c) { return autotranslate::isKanji(c.unicode()) || c.isHighSurrogate(); });
        if (kanji && m_session->modes().isText())
            emit printCommitted(text);
        else
            m_session->inputMethodResult(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                             std::size_t(text.size())));
    }
    const QString preedit = event->preeditString();
    m_session->inputMethodPreedit(
        std::u16string_view(reinterpret_cast<const char16_t*>(preedit.utf16()), std::size_t(preedit.size())));
    event->accept();
    emit stateChanged();
}

QVariant EditorView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImCursorRectangle:
        return QRect(screenCaret(), QSize(2, m_metrics.rowHeight));
    case Qt::ImFont:
        return m_font;
    case Qt::ImEnabled:
        return m_session && m_session->modes().isText();
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

bool EditorView::focusNextPrevChild(bool) { return false; } // Tab is a key of the editor

// ---- Mouse -------------------------------------------------------------------------------

double EditorView::cellXAt(int x) const
{
    return m_metrics.cellWidth > 0 ? double(x + hOffset() - m_metrics.labelMargin) / m_metrics.cellWidth : 0;
}

std::uint32_t EditorView::rowAt(int y) const
{
    if (y - m_metrics.rowPitch < 0 || m_metrics.rowPitch <= 0)
        return m_session->scrollPosition();
    return std::uint32_t((y - m_metrics.rowPitch) / m_metrics.rowPitch) + m_session->scrollPosition();
}

void EditorView::placeCaretAt(QPoint point, bool extend)
{
    m_session->placeCaretAt(rowAt(point.y()), cellXAt(point.x()), extend);
}

void EditorView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_session->viewReady())
        return;
    const int y = int(event->position().y());
    const int height = viewport()->height();
    // Clicks on the ruler or the braille band do nothing.
    if (y < m_metrics.rowHeight || y > height - m_metrics.rowHeight)
        return;
    placeCaretAt(event->position().toPoint(), event->modifiers() & Qt::ShiftModifier);
    m_dragging = true;
    m_mouseSeen = true;
    emit stateChanged();
}

void EditorView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    QPoint at = event->position().toPoint();
    const int limit = viewport()->height() - m_metrics.rowHeight;
    if (at.y() > limit) {
        // Dragging below the text scrolls down, four rows a move.
        at.setY(limit);
        m_session->scrollBy(4);
    }
    at.setY(std::max(at.y(), m_metrics.rowPitch));
    placeCaretAt(at, true);
}

void EditorView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_dragging) {
        m_dragging = false;
        emit stateChanged();
    }
}

void EditorView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (event->modifiers() & Qt::ControlModifier) {
        if (delta)
            setPointSize(m_pointSize + (delta > 0 ? 2 : -2));
        return;
    }
    if (delta >= 120)
        m_session->scrollBy(-4);
    else if (delta <= -120)
        m_session->scrollBy(4);
    event->accept();
}

void EditorView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    m_caretOn = true;
    m_caretBlink.start();
    requestFullRepaint();
    updateDisplayFocus();
    emit focusChanged(true);
}

void EditorView::updateDisplayFocus()
{
    // The keys are the view's while it has the focus and no menu is open; otherwise a menu, a
    // dialog or another program has them, and a screen reader may take the display.
    m_display->setFocused(hasFocus() && !QApplication::activePopupWidget());
}

bool EditorView::eventFilter(QObject* watched, QEvent* event)
{
    // A menu opening or closing moves the keys without always moving the focus; the popup list
    // is settled once the event has been handled.
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->windowType() == Qt::Popup)
        QTimer::singleShot(0, this, [this] { updateDisplayFocus(); });
    return QAbstractScrollArea::eventFilter(watched, event);
}

void EditorView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_caretBlink.stop();
    m_keyRepeating = false;
    m_session->focusLost();
    requestFullRepaint();
    updateDisplayFocus();
    emit focusChanged(false);
}

// ---- The right-click menu ----------------------------------------------------------------

void EditorView::contextMenuEvent(QContextMenuEvent* event) { showContextMenu(event->pos()); }

void EditorView::showContextMenu(QPoint at)
{
    if (!m_session->viewReady() || m_dragging)
        return;
    const ContextMenuState state{m_session->cursor().hasSelection(), m_clipboard.get().has_value(),
                                 m_clipboard.text().has_value()};
    if (const int id = execContextMenu(this, viewport()->mapToGlobal(at), state)) {
        // What the session does not know is the window's (the translation needs the analyser).
        if (!m_session->command(id))
            emit frameCommand(id);
        emit stateChanged();
    }
}

} // namespace braille
