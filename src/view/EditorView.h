#pragma once
// The editing view: one section of the book as rows of cells, the braille band of the caret's
// row, the caret, and the scroll bar at the right.
//
// The view owns the editing session and is the window around it: it hands the session its keys,
// characters, input-method text, clicks, drags, wheel turns and timer ticks, implements what the
// session asks of a window (timers, status texts, message boxes, the clipboard, repaints), and
// paints what the session and the document hold through ViewPainter. It decides nothing about
// the document itself.
//
// Painting is double-buffered: a full repaint draws the whole picture into a pixmap, which the
// caret-only update (while Left or Right is held down) reuses, drawing just the caret again.

#include "AccessibilityAnnouncer.h"
#include "BrailleDisplayLink.h"
#include "ComposerInputMethod.h"
#include "EditingSession.h"
#include "SessionTimers.h"
#include "SystemInputMethod.h"
#include "ViewClipboard.h"
#include "ViewPainter.h"

#include <QAbstractScrollArea>
#include <QProgressDialog>
#include <QPixmap>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

class QListWidget;
class QMenu;

namespace braille {

class CandidateListWidget;

class EditorView : public QAbstractScrollArea {
    Q_OBJECT

public:
    // With `systemInputMethod` TEXT takes its kana from the system's input method (ibus, fcitx);
    // otherwise Tenkora's own kana input composes the letters typed.
    explicit EditorView(PageLayout layout, QWidget* parent = nullptr, bool systemInputMethod = false);
    ~EditorView() override;

    EditingSession& session() { return *m_session; }
    const EditingSession& session() const { return *m_session; }

    // Shows a document once it is complete: the caret at its start, a fresh undo history.
    void setDocument(BrailleDocument* document);
    // While a document is being read: the loading screen with the share read so far.
    void showLoading(std::uint64_t done, std::uint64_t total);
    // Back to the book after a load that did not replace it.
    void hideLoading();

    void setLinkMode(bool linkMode);
    // The high-contrast palette for low vision.
    void setHighContrast(bool on);
    bool highContrast() const { return m_highContrast; }
    // Print or braille (every cell as its dots), with the print under the cells or not.
    void setViewStyle(ViewStyle style);
    ViewStyle viewStyle() const { return m_style; }
    bool usesSystemInputMethod() const { return m_usesSystemInputMethod; }
    bool linkMode() const { return m_linkMode; }
    // A long paste or undo is under way; whatever would edit the book waits until it is over.
    bool sessionBusy() const { return m_services.busy(); }

    // The font size in points (zoom for low vision); kept between 6 and 72.
    void setPointSize(int points);
    int pointSize() const { return m_pointSize; }
    static constexpr int kDefaultPointSize = 14;
    // The width of a whole line: the row labels, the cells and the original-page column.
    int contentWidth() const;
    const QFont& viewFont() const { return m_font; }
    const ViewMetrics& metrics() const { return m_metrics; }

    // The rows drawn by the last full repaint.
    std::uint32_t firstDrawnRow() const { return m_painted.firstRow; }
    std::uint32_t lastDrawnRow() const { return m_painted.lastRow; }
    QPoint caretPoint() const { return m_painted.caret; }
    int fullRepaints() const { return m_fullRepaints; }

    // The picture as it is drawn, for printing and benchmarks.
    ViewFrame frame(QSize size) const;

    // The companion application in link mode (none outside it).
    void setCompanion(Companion* companion) { m_companion.target = companion; }

    // The caret's page, line and cell as its status pane shows them ("3ページ 5行 12マス").
    const QString& placeText() const { return m_placeText; }

    // The name a screen reader gives the view: the section and the mode ("本文 TEXT").
    QString accessibleTitle() const;

    // Loads the braille display's driver and opens the display; `port` overrides the search for
    // its serial port. Without a driver library nothing changes.
    void startDisplay(const QString& libraryPath, std::optional<int> port = std::nullopt);
    BrailleDisplayLink& display() { return *m_display; }

    // Runs a command of the session (menus, toolbar and the right-click menu).
    void runCommand(int id);

signals:
    void statusTextChanged(int pane, const QString& text);
    void brailleButtonChanged(bool pressed);
    void editedSectionChanged(int section);
    // The document may have changed or the caret moved: titles and enabled commands follow.
    void stateChanged();
    void pointSizeChanged(int points);
    // The caret was brought into view after a change or a move (link mode sends the body then).
    void caretShown();
    void focusChanged(bool gained);
    // The braille display's driver failed to load or the display did not open (said once).
    void displayProblem(const QString& text);
    // A command of the right-click menu that the main frame runs, not the session.
    void frameCommand(int id);
    // The input method committed print with kanji in TEXT: the window translates it.
    void printCommitted(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // What the session asks of the window, answered by the view.
    class Services final : public SessionHost {
    public:
        explicit Services(EditorView& view) : m_view(view) {}
        void startTimer(int id, int milliseconds) override;
        void stopTimer(int id) override;
        void setStatusText(int pane, std::u16string_view text) override;
        void setBrailleButton(bool pressed) override;
        void message(std::u16string_view text) override;
        void caretIntoView() override;
        void repaint() override;
        void sectionChanged(SectionKind kind) override;
        bool workGoesOn(std::size_t done, std::size_t total) override;
        void workEnded() override;
        // A long paste or undo is under way (the window's events are being handled in its middle).
        bool busy() const { return m_progress != nullptr; }

    private:
        EditorView& m_view;
        // The progress of a long paste, shown after half a second, with its cancel.
        std::unique_ptr<QProgressDialog> m_progress;
        bool m_cancelled = false;
    };

    void sessionRepaint();
    // The caret's page, line and cell in its status pane, sent only when the text changes.
    void updatePlace();

    void requestFullRepaint();
    void updateDisplayFocus();
    void updateScrollBar();
    void updateVisibleRows();
    double cellXAt(int x) const;
    std::uint32_t rowAt(int y) const;
    void placeCaretAt(QPoint point, bool extend);
    void showContextMenu(QPoint at);
    // The system input method is enabled in TEXT only, where it types.
    void syncInputMethod();
    void paintCaret(QPainter& painter) const;
    void showOnDisplay();
    // The width of the picture: a whole line with its labels, at least the window's.
    void keepCaretInViewSideways();
    // The caret's top left in the viewport, the picture being scrolled sideways.
    QPoint screenCaret() const { return m_painted.caret - QPoint(hOffset(), 0); }
    // How far the picture is scrolled sideways, in pixels.
    int hOffset() const;

    PageLayout m_layout;
    Services m_services{*this};
    ViewClipboard m_clipboard;
    ComposerInputMethod m_composer;
    SystemInputMethod m_systemInputMethod;
    // The session asks its companion through this, so that link mode can come and go.
    struct ForwardingCompanion final : Companion {
        Companion* target = nullptr;
        bool isLinked() const override { return target && target->isLinked(); }
        bool sendKey(int key) override { return target && target->sendKey(key); }
    };
    ForwardingCompanion m_companion;
    std::unique_ptr<CandidateListWidget> m_mathList;
    std::unique_ptr<CandidateListWidget> m_brailleList;
    std::unique_ptr<EditingSession> m_session;
    BrailleDocument* m_document = nullptr;

    bool m_linkMode = false;
    bool m_highContrast = false;
    ViewStyle m_style;
    bool m_usesSystemInputMethod = false;
    int m_pointSize = kDefaultPointSize;
    QFont m_font;
    ViewMetrics m_metrics;

    QString m_placeText;

    bool m_loading = false;
    std::uint64_t m_loadDone = 0;
    std::uint64_t m_loadTotal = 0;

    // Painting state.
    QPixmap m_picture;
    bool m_fullRepaint = true;
    bool m_keyRepeating = false;
    PaintedFrame m_painted;
    QPoint m_lastCaretPoint;
    bool m_caretOn = true;
    int m_fullRepaints = 0;
    QTimer m_caretBlink;
    bool m_updatingScrollBar = false;

    // Mouse.
    bool m_dragging = false;
    bool m_mouseSeen = false;

    AccessibilityAnnouncer m_announcer;
    SessionTimers m_timers{[this](int id) { m_session->timer(id); }};
    QTimer m_displayUpdate;         // shows the caret's row once the changes of a turn are made
    std::vector<int> m_heldDisplayKeys; // display keys that came during a long paste or undo
    // Last, so that it closes first: its poll thread hands keys to the session.
    std::unique_ptr<BrailleDisplayLink> m_display;
};

} // namespace braille
