#include "OpenBook.h"

#include "FailureText.h"

#include "AtomicSave.h"
#include "BmlWriter.h"
#include "BmlReader.h"
#include "EditorView.h"
#include "PrintBookImport.h"
#include "Prompts.h"
#include "SessionHost.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QTimer>
#include <QEventLoop>
#include <QScopedValueRollback>

#include <sys/stat.h>

namespace braille {

namespace {

const QString kBmlFilter = QStringLiteral("Braille XML File(*.bml)");
const QString kAskSave = QStringLiteral("ファイルの内容は変更されています。\n変更を保存しますか？");
const QString kInUse = QStringLiteral("別アプリケーションで起動済みです。\nファイルを一旦閉じてから再度開いてください。");
constexpr int kYesNoCancel = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;

std::filesystem::path fsPath(const QString& path) { return std::filesystem::path(path.toStdU16String()); }

const QString kReadOnly = QStringLiteral("読み取り専用で開く");
const QString kDoNotOpen = QStringLiteral("開かない");

// Who holds a book, as the second Tenkora tells it.
QString holderText(const LockHolder& holder, const QString& lockFile)
{
    if (holder.host.empty())
        return QStringLiteral("（ロックファイル %1 の中身を読めません）").arg(lockFile);
    const QString since = holder.since > 0
                              ? QDateTime::fromSecsSinceEpoch(holder.since).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))
                              : QStringLiteral("不明");
    return QStringLiteral("コンピューター: %1\nプロセス: %2\nユーザー: %3\n開いた時刻: %4")
        .arg(QString::fromStdString(holder.host))
        .arg(holder.pid)
        .arg(QString::fromStdString(holder.user), since);
}

} // namespace

OpenBook::OpenBook(EditorView& view, QObject* parent) : QObject(parent), m_view(view)
{
    replaceDocument(std::make_unique<BrailleDocument>());
}

OpenBook::~OpenBook() = default;

QString OpenBook::title() const
{
    if (m_pathName.isEmpty()) {
        // A book made from a print source is named after it until it is saved.
        const QString name = m_suggestedPath.isEmpty() ? QStringLiteral("無題") : QFileInfo(m_suggestedPath).fileName();
        return isModified() ? name + QStringLiteral(" *") : name;
    }
    const QString name = m_readOnly ? m_pathName + QStringLiteral(" [読み取り専用]") : m_pathName;
    return isModified() ? name + QStringLiteral(" *") : name;
}

QString OpenBook::lockFile() const
{
    return m_lock.held() ? QString::fromStdU16String(m_lock.lockFile().u16string()) : QString();
}

OpenBook::LockClaim OpenBook::claimLock(const QString& path, bool opening)
{
    LockClaim claim;
    if (!m_locking)
        return claim;
    // A book reached through a symbolic link is locked beside the file it names, where another
    // Tenkora opening it by its own name looks.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString locked = canonical.isEmpty() ? path : canonical;
    switch (claim.lock.take(fsPath(locked))) {
    case BookLock::Outcome::Taken:
        claim.result = LockClaim::Locked; // a stale lock of a Tenkora that is gone, taken over silently
        break;
    case BookLock::Outcome::Unwritable:
        claim.note = QStringLiteral("このフォルダーにはロックファイルを作れないため、ロックなしで%1。"
                                    "ほかの Tenkora が同じ本を開いても分かりません。")
                         .arg(opening ? QStringLiteral("開きました") : QStringLiteral("保存しました"));
        break;
    case BookLock::Outcome::Held: {
        const QString who = holderText(claim.lock.holder(), QString::fromStdU16String(lockPathOf(fsPath(locked)).u16string()));
        if (!opening) {
            Prompts::warn(QStringLiteral("%1 は、ほかの Tenkora で開かれているため保存できません。\n%2\n別の名前で保存してください。")
                              .arg(path, who));
            claim.result = LockClaim::Refused;
            break;
        }
        const int chosen = Prompts::choose(
            QStringLiteral("%1 は、ほかの Tenkora で開かれています。\n%2\n\n読み取り専用で開くと、上書き保存はできません"
                           "（別の名前で保存できます）。")
                .arg(path, who),
            {kReadOnly, kDoNotOpen}, nullptr, 1);
        claim.result = chosen == 0 ? LockClaim::ReadOnly : LockClaim::Refused;
        break;
    }
    }
    return claim;
}

void OpenBook::adoptLock(LockClaim& claim)
{
    m_lock = std::move(claim.lock);
    m_readOnly = claim.result == LockClaim::ReadOnly;
    if (!claim.note.isEmpty())
        emit m_view.statusTextChanged(kMessagePane, claim.note);
}

bool OpenBook::isOpenBook(const QString& path) const
{
    if (m_pathName.isEmpty())
        return false;
    if (path == m_pathName)
        return true;
    // The same file by another name (a symbolic link to it) is the same book, under the same lock.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(m_pathName).canonicalFilePath();
}

void OpenBook::dropLock()
{
    m_lock.release();
    m_readOnly = false;
}

OpenBook::DiskStamp OpenBook::stampOf(const QString& path)
{
    struct stat st {};
    if (path.isEmpty() || ::stat(fsPath(path).c_str(), &st) != 0)
        return {};
    return {std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, std::int64_t(st.st_size)};
}

bool OpenBook::reloadIfChangedOnDisk()
{
    if (m_pathName.isEmpty() || m_busy)
        return false;
    const DiskStamp now = stampOf(m_pathName);
    // A file that went away is no change to read; one already asked about is not asked again.
    if (now == DiskStamp{} || now == m_stamp || now == m_askedStamp)
        return false;
    m_askedStamp = now;
    QString text = QStringLiteral("%1が他のプログラムで変更されました。読み込み直しますか？").arg(QFileInfo(m_pathName).fileName());
    if (isModified())
        text += QStringLiteral("\n読み込み直すと、保存していない変更は失われます。");
    const int answer = Prompts::question(text, QMessageBox::Yes | QMessageBox::No, nullptr, {},
                                         isModified() ? QMessageBox::No : QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return false;
    return load(m_pathName, false);
}

QString OpenBook::toolPath(const QString& name)
{
    // The tools are programs, beside the editor in the build tree and in the installed bin/
    // folder alike. TENKORA_TOOL_DIR runs the tools of another build (and the tests' stand-ins).
    const QString folder = qEnvironmentVariable("TENKORA_TOOL_DIR", QCoreApplication::applicationDirPath());
    return folder + u'/' + name;
}

void OpenBook::replaceDocument(std::unique_ptr<BrailleDocument> document, const std::vector<ReviewItem>& review)
{
    m_view.setDocument(nullptr);
    m_document = std::move(document);
    m_view.setDocument(m_document.get());
    emit documentReplaced(review);
}

bool OpenBook::askToSave()
{
    if (!isModified())
        return true;
    switch (Prompts::question(kAskSave, kYesNoCancel)) {
    case QMessageBox::Yes:
        // Only a document that really reached its file may be left behind.
        return save();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void OpenBook::newDocument()
{
    if (!askToSave())
        return;
    m_pathName.clear();
    m_suggestedPath.clear();
    dropLock();
    replaceDocument(std::make_unique<BrailleDocument>());
    emit settled();
    emit pathChanged(m_pathName);
}

void OpenBook::open()
{
    if (!askToSave())
        return;
    const QString path = Prompts::openName(QStringLiteral("Braille XML File (*.bml)"), QFileInfo(m_pathName).path());
    if (!path.isEmpty())
        load(path, false);
}

bool OpenBook::openAny(const QString& path, bool quiet)
{
    if (isPrintBookFile(path))
        return importPrint(path);
    return openPath(path, quiet);
}

void OpenBook::importPrint()
{
    if (!askToSave())
        return;
    const QString path = Prompts::openName(printBookFilter(), QFileInfo(m_pathName).path());
    if (!path.isEmpty())
        importPrintAfterQuestion(path);
}

bool OpenBook::importPrint(const QString& path)
{
    if (!askToSave())
        return true;
    return importPrintAfterQuestion(path);
}

bool OpenBook::importPrintAfterQuestion(const QString& path)
{
    if (m_busy)
        return false;
    const QScopedValueRollback<bool> busy(m_busy, true);
    PageLayout layout = m_view.session().pageLayout();
    PrintBookImportResult imported = importPrintBookWithProgress(m_view.window(), path, layout);
    if (!imported.document) {
        if (!imported.error.isEmpty())
            Prompts::warn(QStringLiteral("墨字の本を取り込めません。\n%1").arg(imported.error));
        return false;
    }
    // A new book, not yet saved anywhere: Save asks where, proposing the source's name.
    m_pathName.clear();
    dropLock();
    const QFileInfo source(path);
    m_suggestedPath = source.path() + u'/' + source.completeBaseName() + QStringLiteral(".bml");
    replaceDocument(std::move(imported.document), imported.review);
    m_view.session().markUnsaved();
    emit settled();
    emit pathChanged(m_pathName);
    emit m_view.statusTextChanged(kMessagePane, imported.summary);
    emit m_view.stateChanged();
    return true;
}

bool OpenBook::openPath(const QString& path, bool quiet)
{
    if (!askToSave())
        return true;
    return load(path, quiet);
}

QString OpenBook::notBmlMessage(const QString& path)
{
    QString what;
    switch (classifyForeignFile(fsPath(path))) {
    case ForeignFile::Empty: what = QStringLiteral("空のファイルです。"); break;
    case ForeignFile::Utf16:
        what = QStringLiteral("UTF-16 で書かれています。BML ファイルは UTF-8 で保存してください。");
        break;
    case ForeignFile::Xml: what = QStringLiteral("document 要素のない XML ファイルです。"); break;
    case ForeignFile::Text:
        what = QStringLiteral("テキストファイルです。墨字の文書は、クリップボードにコピーして"
                              "「編集 → 墨字を点訳して貼り付け」で取り込めます。");
        break;
    case ForeignFile::Binary: what = QStringLiteral("テキストでもXMLでもないファイルです。"); break;
    }
    return QStringLiteral("BML ファイルではないため開けません。\n%1\n%2").arg(path, what);
}

bool OpenBook::load(const QString& path, bool quiet, bool remember, bool claim)
{
    // Opening spins the event loop for the loading screen; whatever asks to open another file
    // meanwhile (link mode, a drop) waits for this one.
    if (m_busy)
        return false;
    const QScopedValueRollback<bool> busy(m_busy, true);
    const QFileInfo info(path);
    if (!info.exists()) {
        Prompts::warn(QStringLiteral("ファイルが見つかりません。\n%1").arg(path));
        return false;
    }
    // Reading the open book's own file again (a reload) keeps its lock, or its being read-only.
    const bool sameBook = isOpenBook(info.absoluteFilePath());
    LockClaim lock;
    if (claim && !sameBook) {
        lock = claimLock(info.absoluteFilePath(), true);
        if (lock.result == LockClaim::Refused)
            return false;
    }
    BmlReader reader(fsPath(path));
    if (!reader.isOpen()) {
        // A file that is there but cannot be opened is held by another program (or forbidden).
        Prompts::warn(info.isReadable() ? kInUse : QStringLiteral("ファイルを開けません。\n%1\n%2").arg(
                                              path, QString::fromStdString(reader.error())));
        return false;
    }
    // The new book is read beside the old one, which stays whole (and shown, and kept by the
    // recovery copies) until the new one is complete.
    auto document = std::make_unique<BrailleDocument>(BrailleDocument::ForReading);
    document->cellsPerLine = m_view.session().pageLayout().ColumnNumber;
    const std::uint64_t total = reader.totalBytes();
    m_view.showLoading(0, total);
    QElapsedTimer sinceShown;
    sinceShown.start();
    while (reader.readStep(*document) != kReadEnd) {
        // The loading screen follows the reading every m_loadingScreenMs, not at every paragraph.
        if (!quiet && sinceShown.elapsed() >= m_loadingScreenMs) {
            m_view.showLoading(reader.bytesRead(), total);
            m_view.viewport()->repaint();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sinceShown.restart();
        }
    }
    if (!reader.sawDocument()) {
        m_view.hideLoading();
        Prompts::warn(notBmlMessage(info.absoluteFilePath()));
        return false;
    }
    // What a save killed before its rename left beside the book goes, unless a save is under way.
    removeStaleTemporaries(fsPath(path));
    document->modified = false;
    m_pathName = info.absoluteFilePath();
    m_suggestedPath.clear();
    if (!claim)
        dropLock();
    else if (!sameBook)
        adoptLock(lock);
    m_stamp = stampOf(m_pathName);
    m_askedStamp = {};
    replaceDocument(std::move(document));
    emit settled();
    emit pathChanged(m_pathName);
    if (remember)
        emit opened(m_pathName);
    if (reader.endedEarly())
        Prompts::tell(QStringLiteral("ファイルが途中で終わっています。読めたところまでを表示します。\n%1").arg(m_pathName));
    return true;
}

bool OpenBook::rewriteAndReload(const std::vector<std::u16string>* labels)
{
    if (m_pathName.isEmpty()) {
        emit m_view.stateChanged();
        return true;
    }
    if (m_readOnly) {
        Prompts::tell(QStringLiteral("読み取り専用で開いているため、ファイルに書き込めません。\n%1").arg(m_pathName));
        return false;
    }
    const SaveResult result = writeBml(*m_document, fsPath(m_pathName), labels);
    if (!result) {
        Prompts::warn(saveFailureMessage(QStringLiteral("ファイルを保存できませんでした。"), QString::fromStdString(result.reason)));
        return false;
    }
    emit savedTo(m_pathName);
    return load(m_pathName, false);
}

bool OpenBook::openRecovered(const QString& copy, const QString& original)
{
    // The copy's own path is no book of the user's: it goes into no recent-file list, and takes
    // no lock; the original, where Save writes, does.
    if (!askToSave())
        return false;
    const QString originalPath = original.isEmpty() ? QString() : QFileInfo(original).absoluteFilePath();
    LockClaim lock;
    if (!originalPath.isEmpty()) {
        lock = claimLock(originalPath, true);
        if (lock.result == LockClaim::Refused)
            return false;
    }
    if (!load(copy, false, false, false))
        return false;
    m_pathName = originalPath;
    adoptLock(lock);
    m_stamp = stampOf(m_pathName);
    m_view.session().markUnsaved();
    emit pathChanged(m_pathName);
    if (!m_pathName.isEmpty())
        emit opened(m_pathName);
    emit m_view.stateChanged();
    return true;
}

bool OpenBook::save()
{
    if (m_pathName.isEmpty())
        return saveAs();
    if (m_readOnly) {
        emit m_view.statusTextChanged(kMessagePane, QStringLiteral("読み取り専用で開いているため上書き保存できません。別の名前で保存してください。"));
        return saveAs();
    }
    return saveTo(m_pathName);
}

bool OpenBook::saveAs()
{
    QString start = m_pathName.isEmpty() ? m_suggestedPath : m_pathName;
    if (m_readOnly) {
        // Not the name that cannot be written: a copy's beside it.
        const QFileInfo book(m_pathName);
        start = book.path() + u'/' + book.completeBaseName() + QStringLiteral("-コピー.bml");
    }
    const QString path = Prompts::saveName(kBmlFilter, start);
    if (path.isEmpty())
        return false;
    return saveTo(path);
}

bool OpenBook::saveTo(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const bool sameBook = isOpenBook(absolute);
    if (sameBook && m_readOnly) {
        Prompts::warn(QStringLiteral("%1 は読み取り専用で開いているため、上書き保存できません。\n別の名前で保存してください。").arg(absolute));
        return false;
    }
    // Another program's change to the book's file, made since it was read or saved, is not
    // written over without a question.
    if (sameBook && m_stamp != DiskStamp{}) {
        const DiskStamp now = stampOf(m_pathName);
        if (now != DiskStamp{} && now != m_stamp &&
            Prompts::question(QStringLiteral("%1は、開いたあとで他のプログラムによって変更されています。\n上書き保存しますか？")
                                  .arg(QFileInfo(m_pathName).fileName()),
                              QMessageBox::Yes | QMessageBox::No, nullptr, {}, QMessageBox::No) != QMessageBox::Yes)
            return false;
    }
    // A book saved to a new file locks it first; one that another Tenkora holds is not written.
    LockClaim lock;
    if (!sameBook) {
        lock = claimLock(absolute, false);
        if (lock.result == LockClaim::Refused)
            return false;
    }
    const SaveResult result = writeBml(*m_document, fsPath(path));
    if (!result) {
        Prompts::warn(saveFailureMessage(QStringLiteral("ファイルを保存できませんでした。"), QString::fromStdString(result.reason)));
        m_document->modified = true; // the save point stays where it was
        emit m_view.stateChanged();
        return false;
    }
    m_view.session().markSaved();
    if (!sameBook)
        adoptLock(lock);
    m_stamp = stampOf(absolute);
    emit settled();
    if (m_pathName != QFileInfo(path).absoluteFilePath()) {
        m_pathName = QFileInfo(path).absoluteFilePath();
        emit pathChanged(m_pathName);
    }
    emit savedTo(m_pathName);
    emit opened(m_pathName);
    emit m_view.stateChanged();
    return true;
}

bool OpenBook::runTool(const QString& name, const QStringList& arguments)
{
    const QString program = toolPath(name);
    if (!QFileInfo(program).isExecutable()) {
        Prompts::warn(QStringLiteral("%1 が見つかりません。\n%2").arg(name, program));
        return false;
    }
    if (m_busy)
        return false;
    const QScopedValueRollback<bool> busy(m_busy, true);
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted()) {
        Prompts::warn(QStringLiteral("%1 を起動できません。\n%2").arg(name, process.errorString()));
        return false;
    }
    // The window stays alive while the tool works: a progress dialog (after a moment) with a
    // cancel button, and after the time limit the question whether to wait on. The tools write
    // their results atomically, so a tool that is stopped leaves nothing half written.
    // Shown at once: until it shows, keys would reach a book the tool is about to rewrite.
    const std::unique_ptr<QProgressDialog> dialog = Prompts::progress(QStringLiteral("%1 を実行しています…").arg(name), &m_view, 0, 0);
    QProgressDialog& progress = *dialog;
    QEventLoop loop;
    connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    connect(&progress, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    QTimer limit;
    limit.setInterval(m_toolTimeLimitMs);
    connect(&limit, &QTimer::timeout, &loop, [&] {
        limit.stop();
        const QString question = QStringLiteral("%1 が %2 秒たっても終わりません。\n待ち続けますか？")
                                     .arg(name)
                                     .arg(m_toolTimeLimitMs / 1000);
        if (process.state() == QProcess::NotRunning)
            return;
        if (Prompts::question(question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
            limit.start();
        else
            loop.quit();
    });
    limit.start();
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    progress.reset();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
        Prompts::tell(QStringLiteral("%1 を中止しました。").arg(name));
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString detail = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        Prompts::warn(saveFailureMessage(QStringLiteral("%1 が失敗しました（終了コード %2）。").arg(name).arg(process.exitCode()), detail));
        return false;
    }
    return true;
}

void OpenBook::exportBse() { exportBraille(QStringLiteral("bse")); }

void OpenBook::exportBraille(const QString& format)
{
    if (isModified()) {
        if (!m_pathName.isEmpty()) {
            if (Prompts::question(QStringLiteral("ファイルを上書き保存してもよろしいですか？"), kYesNoCancel) != QMessageBox::Yes)
                return;
            if (!save())
                return;
        } else if (!saveAs()) {
            return;
        }
    }
    if (m_pathName.isEmpty()) {
        Prompts::tell(QStringLiteral("BMLファイルが存在しません。\nファイルを保存してから再度実行してください。"));
        return;
    }
    const QFileInfo input(m_pathName);
    const QString proposed = input.path() + u'/' + input.completeBaseName() + u'.' + format;
    const QString filter = QStringLiteral("%1 File(*.%2)").arg(format.toUpper(), format);
    // The dialog is titled with the command's own caption (BRF出力), not as a save of the book.
    const QString output = Prompts::saveName(filter, proposed, nullptr, QStringLiteral("%1出力").arg(format.toUpper()));
    if (output.isEmpty())
        return;
    if (runTool(QStringLiteral("CellExport"), {QStringLiteral("--format"), format, m_pathName, output}))
        emit exported(output);
}

void OpenBook::tocNew()
{
    const QString program = toolPath(QStringLiteral("TocComposer"));
    if (!QFileInfo(program).isExecutable() || !QProcess::startDetached(program, {})) {
        Prompts::warn(QStringLiteral("%1 を起動できません。\n%2").arg(QStringLiteral("TocComposer"), program));
    }
}

void OpenBook::tocWorkingFile()
{
    if (Prompts::question(QStringLiteral("ファイルの内容は目次作成された状態で保存されます。\nよろしいですか？"), kYesNoCancel) !=
        QMessageBox::Yes)
        return;
    if (!save() || m_pathName.isEmpty())
        return;
    if (runTool(QStringLiteral("TocComposer2"), {m_pathName}))
        load(m_pathName, false);
}

} // namespace braille
