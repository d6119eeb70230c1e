#pragma once
// The application's document: the book being edited, the file it came from, and the File
// menu's commands (new, open, save, save as, BSE export, tables of contents) with their
// questions and messages.
//
// Loading reads the file a paragraph at a time and shows the loading screen with its progress
// in between. Saving goes through the atomic BML writer: a failed save is shown with its reason,
// the file on disk stays as it was and the document stays modified.
//
// A book opened or saved is locked (BookLock, ".NAME.lock" beside it) while it is the open book.
// A book another Tenkora holds is opened read-only, or not at all, as the user chooses; a
// read-only book is never written to its file (Save asks for another name). The file's
// modification time and size, as read or last saved, tell when another program changed it.

#include "BookLock.h"
#include "BrailleDocument.h"
#include "ReviewItem.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace braille {

class EditorView;

class OpenBook : public QObject {
    Q_OBJECT

public:
    explicit OpenBook(EditorView& view, QObject* parent = nullptr);
    ~OpenBook() override;

    BrailleDocument& document() { return *m_document; }
    const QString& pathName() const { return m_pathName; }
    bool isModified() const { return m_document && m_document->modified; }
    // The window title: the file's path, with " *" while modified, and [読み取り専用] for a book
    // another Tenkora holds.
    QString title() const;
    // Opened while another Tenkora holds it: Save writes nothing to its file.
    bool isReadOnly() const { return m_readOnly; }
    // Whether `path` names the open book's file (by its name or through a link).
    bool isOpenBook(const QString& path) const;
    // The lock file held for the open book (empty when none).
    QString lockFile() const;
    // Link mode's texts are the editor's private work files: no lock for them.
    void setLocking(bool locking) { m_locking = locking; }
    // Asks whether to read the book again when its file was changed by another program since it
    // was read or saved here (once per change); true when it was read again.
    bool reloadIfChangedOnDisk();

    // Asks whether to save a modified document: true to go on (saved, or not wanted), false
    // when the user cancelled or the save failed.
    bool askToSave();

    // The commands.
    void newDocument();
    void open();                                  // with the file dialog
    bool openPath(const QString& path, bool quiet = false);
    // Opens without asking about the open book's changes (link mode's texts).
    bool openWithoutQuestion(const QString& path) { return load(path, false); }
    // Reading or importing a book, or running a tool: the window's events run meanwhile.
    bool isBusy() const { return m_busy; }
    // A BML file is opened, a print book (text, EPUB, DOCX, HTML) imported.
    bool openAny(const QString& path, bool quiet = false);
    // 墨字の本を取り込む: a print book made into a new, unsaved braille book (with the file
    // dialog, or the given file), after the question about unsaved changes.
    void importPrint();
    bool importPrint(const QString& path);
    // A recovery copy opened as an unsaved book under the book's own path (empty: a new book),
    // so that Save writes to the original file.
    bool openRecovered(const QString& copy, const QString& original);
    bool save();
    bool saveAs();
    bool saveTo(const QString& path);
    // Writes the book to its file (with these labels for the body's lines, when given) and
    // reads it again, as the page layout and the original-page editor need; without a file it
    // only repaints.
    bool rewriteAndReload(const std::vector<std::u16string>* labels = nullptr);
    void exportBse();
    // The same for "bse", "brf" or "pef".
    void exportBraille(const QString& format);
    void tocNew();
    void tocWorkingFile();

    // The path of an external tool (beside the executable, in the build tree and installed).
    static QString toolPath(const QString& name);

    // How often the loading screen follows the reading (and the window's events are handled).
    void setLoadingScreenInterval(int ms) { m_loadingScreenMs = ms; }
    // How long an external tool runs before the user is asked whether to wait on.
    void setToolTimeLimit(int ms) { m_toolTimeLimitMs = ms; }

signals:
    void pathChanged(const QString& path);
    // The book reached its file, or was replaced after the save question: its recovery copy goes.
    void settled();
    void opened(const QString& path);
    // A new book is shown (opened, new, imported); `review` holds the words an import left to
    // check.
    void documentReplaced(const std::vector<braille::ReviewItem>& review);
    // The book was written to this file.
    void savedTo(const QString& path);
    // An export (BSE, BRF, PEF) was written to this file.
    void exported(const QString& path);

private:
    // What opening or saving a book does about its lock.
    struct LockClaim {
        enum Result { Locked, ReadOnly, Unlocked, Refused } result = Unlocked;
        BookLock lock;
        QString note; // for the message pane: why the book has no lock
    };
    // Locks `path` (absolute) for this window; when another Tenkora holds it, asks whether to
    // open it read-only (`opening`) or says it cannot be saved there.
    LockClaim claimLock(const QString& path, bool opening);
    // The claim becomes the open book's (its old lock goes).
    void adoptLock(LockClaim& claim);
    void dropLock();

    // The file's modification time and size: what tells another program's change.
    struct DiskStamp {
        std::int64_t modified = -1;
        std::int64_t size = -1;
        bool operator==(const DiskStamp&) const = default;
    };
    static DiskStamp stampOf(const QString& path);

    // Reads the file into a new book and puts it in place of the old one once complete; the old
    // one stays as it was when the file cannot be read. `remember`: the path goes into the
    // recent files. `claim`: a book from another file than the open one is locked first (not
    // link mode's texts or a recovery copy).
    bool load(const QString& path, bool quiet, bool remember = true, bool claim = true);
    // What the user is told of a file that is not BML, saying what it is.
    static QString notBmlMessage(const QString& path);
    void replaceDocument(std::unique_ptr<BrailleDocument> document, const std::vector<ReviewItem>& review = {});
    // Runs an external tool, showing progress, and waits for it; false (after telling why) when
    // it is missing, cannot start, fails, or the user stops it.
    bool runTool(const QString& name, const QStringList& arguments);

    EditorView& m_view;
    std::unique_ptr<BrailleDocument> m_document;
    QString m_pathName;
    bool importPrintAfterQuestion(const QString& path);

    bool m_busy = false; // reading or importing a book, or running a tool: one at a time
    QString m_suggestedPath; // where Save As proposes to put a book made from a print source
    int m_toolTimeLimitMs = 60000;
    int m_loadingScreenMs = 40; // a few times a second, not at every paragraph

    BookLock m_lock;
    bool m_locking = true;
    bool m_readOnly = false;
    DiskStamp m_stamp;      // the file as read or last saved here
    DiskStamp m_askedStamp; // the change last asked about
};

} // namespace braille
