#pragma once
// The main window: the menu bar, the toolbar, the status bar with the caret's page and line, the
// mode, BRAILLE and section panes, the view in the middle, the recent files, the window's place, and the question on
// closing a modified book.
//
// Every menu item and toolbar button carries its command id. The File, Help and window commands
// are the frame's; every other id goes to the view's editing session.

#include "AutoTranslateAction.h"
#include "BookPrinting.h"
#include "LinkHost.h"
#include "OpenBook.h"
#include "EditorView.h"
#include "Pagination.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>

class QLabel;
class QMenu;
class QPrinter;
class QTextBrowser;
class QToolBar;
class QUrl;

namespace braille {

class EmbossDialog;
class PagePreviewDialog;
class FindReplaceDialog;
class OriginalPageEditor;
class RecentFiles;
class LinkMode;
class RecoveryKeeper;
class ReviewPane;

class MainWindow : public QMainWindow, private LinkHost {
    Q_OBJECT

public:
    // Widens the window, up to `available` pixels, until a whole line fits without the scroll bar.
    void fitWidthToLine(int available);
    // High contrast in the view and the whole window (menus, tool bar, status bar, dialogs).
    void applyHighContrast(bool on);
    // Follows GNOME's high-contrast setting, asked in the background at the start.
    void followDesktopContrast();
    // `systemInputMethod`: TEXT types through the system's input method (see EditorView).
    // `companion`: in link mode, the handle of the companion application that started the editor.
    explicit MainWindow(PageLayout layout, bool linkMode = false, bool systemInputMethod = false,
                        std::uint32_t companion = 0);
    ~MainWindow() override;

    EditorView& view() { return *m_view; }
    OpenBook& book() { return *m_book; }
    // The action of a command id, for tests and the toolbar.
    QAction* action(int id) const;
    QString paneText(int pane) const;

    // Runs a command by id, as its menu item or button does.
    void onCommand(int id);
    // Paints the book, or its current section, onto the printer, a braille page on each sheet;
    // returns how many sheets.
    int printBook(QPrinter& printer, PrintRange range = PrintRange::CurrentSection);
    // 点字プリンタで印刷: the book paged as for BRF, in the embossing dialog (window-modal, not
    // waited for); the open dialog, for tests.
    void emboss();
    EmbossDialog* embossDialog() const;
    // 点字ページプレビュー: the book paged as it is embossed, opened at the caret's page
    // (window-modal, not waited for); the open preview, for tests.
    void pagePreview();
    PagePreviewDialog* pagePreviewDialog() const;
    // ページと行へ移動: asks for a page and a line of the current section and moves the caret there.
    void goToPageLine();

    // Help opens in the desktop's browser through `opener`; where it cannot (no browser, or it
    // fails), in a help window of the editor's own, which tests find here.
    void setHelpOpener(std::function<bool(const QUrl&)> opener) { m_helpOpener = std::move(opener); }
    QTextBrowser* helpWindow() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Coming back to the window: a book changed on disk meanwhile is offered to be read again.
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void updateCommands();
    void updateTitle();
    void openRecent(int index);
    void showHelp();
    void checkBookOnDisk();
    void pageLayout();

public:
    // A layout written to the settings (by the page layout dialog) is applied to the open book
    // when it differs from `before`.
    void applyPageLayout(const PageLayout& before);
    // Opens (or brings forward) the one find and replace dialog.
    FindReplaceDialog* openFindDialog();
    // The original-page editor; `answer` plays the user in tests (instead of running it modally).
    void editOriginalPages(const std::function<void(OriginalPageEditor&)>& answer = {});

private:
    QAction* makeAction(int id, const QString& caption);
    // The book paged as the exports page it (and the print of its cells when `print` is given);
    // false, after telling the user why, when the page layout cannot page it.
    bool pageBook(std::vector<BraillePage>& pages, std::vector<PagePrint>* print);

    // LinkHost: what link mode may do to the window.
    EditingSession& linkSession() override;
    void openLinkText(const QString& path) override;
    void focusEditor() override;
    void showLinkStatus(const QString& text) override;
    void logToConsole(const QString& text) override;
    void closeForCompanion() override;
    void editorStateChanged() override;
    bool editorBusy() const override;

    bool m_linkMode;
    EditorView* m_view;
    OpenBook* m_book;
    QToolBar* m_toolBar = nullptr;
    std::map<int, QAction*> m_actions;
    std::map<int, QString> m_prompts;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentAnchor = nullptr;
    std::unique_ptr<RecentFiles> m_recent;
    std::map<int, QLabel*> m_panes;
    QPointer<FindReplaceDialog> m_findDialog;
    QPointer<EmbossDialog> m_embossDialog;
    QPointer<PagePreviewDialog> m_previewDialog;
    QPointer<QTextBrowser> m_helpWindow;
    std::function<bool(const QUrl&)> m_helpOpener;
    LinkMode* m_link = nullptr;

    RecoveryKeeper* m_recovery = nullptr;
    std::unique_ptr<AutoTranslateAction> m_autoTranslate;

public:
    LinkMode* linkMode() const { return m_link; }
    RecoveryKeeper* recovery() const { return m_recovery; }
    AutoTranslateAction& autoTranslate() { return *m_autoTranslate; }
    ReviewPane& reviewPane() { return *m_review; }

private:
    ReviewPane* m_review = nullptr;
    bool m_fitToLine = false; // widen the window to a whole line when first shown
};

} // namespace braille
