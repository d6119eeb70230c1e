#include "ReviewPane.h"

#include "BrailleCheck.h"
#include "Cells.h"
#include "EditorView.h"
#include "OpenBook.h"
#include "Prompts.h"
#include "QtText.h"
#include "ReviewActions.h"
#include "ReviewPlaces.h"
#include "ReviewSidecar.h"
#include "SessionHost.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace braille {

namespace {

std::filesystem::path fsPathOf(const QString& path) { return std::filesystem::path(path.toStdU16String()); }

// The cells as Unicode braille, a line break shown as the editor shows it.
QString brailleText(const std::u16string& cells)
{
    QString text = qt(cellsToUnicode(cells));
    text.replace(QChar(u'\n'), QChar(u'\u21B2'));
    return text;
}

QString printText(const ReviewItem& item)
{
    QString text = qt(item.print);
    text.replace(QChar(u'\n'), QChar(u'\u21B2'));
    // The signs the rules put in have no print: they show as their cells.
    for (QChar& c : text)
        if (isPrivateCell(c.unicode()))
            c = QChar(char16_t(0x2800 + cellToDots(privateToCell(c.unicode()))));
    return text;
}

} // namespace

ReviewPane::ReviewPane(EditorView& view, OpenBook& book, QWidget* parent)
    : QDockWidget(QStringLiteral("確認リスト"), parent), m_view(view), m_book(book)
{
    setObjectName(QStringLiteral("reviewPane"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    m_table = new QTreeWidget(body);
    m_table->setObjectName(QStringLiteral("reviewTable"));
    m_table->setAccessibleName(QStringLiteral("確認リスト"));
    m_table->setRootIsDecorated(false);
    m_table->setUniformRowHeights(true);
    m_table->setAllColumnsShowFocus(true);
    m_table->setHeaderLabels({QStringLiteral("確認すること（チェックで済）"), QStringLiteral("墨字"), QStringLiteral("点字"),
                              QStringLiteral("場所")});
    m_table->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_table->header()->setStretchLastSection(false);
    layout->addWidget(m_table);
    auto* buttons = new QHBoxLayout;
    auto* previous = new QPushButton(QStringLiteral("前へ (Shift+F12)"), body);
    auto* next = new QPushButton(QStringLiteral("次へ (F12)"), body);
    m_fix = new QPushButton(QStringLiteral("修正"), body);
    m_fix->setEnabled(false);
    buttons->addWidget(previous);
    buttons->addWidget(next);
    buttons->addStretch();
    buttons->addWidget(m_fix);
    layout->addLayout(buttons);
    setWidget(body);

    connect(previous, &QPushButton::clicked, this, [this] { goToNext(false); });
    connect(next, &QPushButton::clicked, this, [this] { goToNext(true); });
    connect(m_fix, &QPushButton::clicked, this, &ReviewPane::fixCurrent);
    connect(m_table, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* row) { showItem(m_table->indexOfTopLevelItem(row)); });
    connect(m_table, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* row) { doneToggled(row); });
    connect(m_table, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* row) {
        const int index = row ? m_table->indexOfTopLevelItem(row) : -1;
        const bool fixable = index >= 0 && std::size_t(index) < m_list.size() &&
                             m_view.session().viewReady() &&
                             fixFor(*m_view.session().constDocument(), m_list.items()[std::size_t(index)]).possible;
        m_fix->setEnabled(fixable);
    });
    // The list follows every change the view reports; the table follows a moment later, so a
    // burst of typing redraws it once.
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(150);
    connect(&m_showTimer, &QTimer::timeout, this, &ReviewPane::showNow);
    connect(&m_view, &EditorView::stateChanged, this, &ReviewPane::followEdits);
}

void ReviewPane::followEdits()
{
    const EditingSession& session = m_view.session();
    // Not in the middle of a long paste or undo (their progress lets events through): the list
    // follows once the work is over.
    if (!session.constDocument() || m_book.isBusy() || m_view.sessionBusy())
        return;
    m_list.follow(session.undoHistory(), *session.constDocument());
    if (m_list.revision() != m_shownRevision)
        scheduleShow();
}

void ReviewPane::scheduleShow()
{
    if (!m_showTimer.isActive())
        m_showTimer.start();
}

void ReviewPane::showNow()
{
    m_showTimer.stop();
    const EditingSession& session = m_view.session();
    if (!session.constDocument() || m_view.sessionBusy()) {
        if (session.constDocument())
            scheduleShow(); // again once the work is over
        return;
    }
    m_list.follow(session.undoHistory(), *session.constDocument());
    if (m_list.revision() == m_shownRevision)
        return;
    m_shownRevision = m_list.revision();
    const int current = m_table->currentItem() ? m_table->indexOfTopLevelItem(m_table->currentItem()) : -1;
    const std::vector<ReviewPlace> places =
        reviewPlaces(*session.constDocument(), m_list.items(), session.pageLayout().LineNumber);
    m_filling = true;
    m_table->setUpdatesEnabled(false);
    m_table->clear();
    QList<QTreeWidgetItem*> rows;
    for (std::size_t i = 0; i < m_list.size(); ++i) {
        const ReviewItem& item = m_list.items()[i];
        auto* row = new QTreeWidgetItem({qt(reviewDescription(item)), printText(item), brailleText(item.braille),
                                         qt(places[i].label)});
        row->setToolTip(0, row->text(0)); // a long description is cut off in a narrow pane
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, item.done ? Qt::Checked : Qt::Unchecked);
        if (item.done)
            for (int c = 0; c < 4; ++c)
                row->setForeground(c, palette().brush(QPalette::Disabled, QPalette::Text));
        rows << row;
    }
    m_table->addTopLevelItems(rows);
    if (current >= 0 && current < m_table->topLevelItemCount())
        m_table->setCurrentItem(m_table->topLevelItem(current), 0, QItemSelectionModel::NoUpdate);
    m_table->setUpdatesEnabled(true);
    m_filling = false;
}

void ReviewPane::addTranslatedWords(std::vector<ReviewItem> words)
{
    if (words.empty())
        return;
    // The items already listed follow the paste first; the new ones are placed after it.
    const EditingSession& session = m_view.session();
    m_list.follow(session.undoHistory(), *session.constDocument());
    m_list.add(std::move(words));
    show();
    scheduleShow();
}

void ReviewPane::runCheck(bool wholeBook)
{
    EditingSession& session = m_view.session();
    if (!session.viewReady())
        return;
    const BrailleDocument& document = *session.constDocument();
    m_list.follow(session.undoHistory(), document);
    std::vector<ReviewItem> found = wholeBook ? checkBook(document) : checkSection(document, document.currentSection);
    const std::size_t count = found.size();
    m_list.replaceFindings(wholeBook ? std::nullopt : std::optional<SectionKind>(document.currentSection), std::move(found));
    show();
    showNow();
    const QString scope = wholeBook ? QStringLiteral("本全体") : qt(sectionCaption(document.currentSection));
    status(count ? QStringLiteral("点字チェック（%1）: %2 件見つかりました。確認リストを見てください。").arg(scope).arg(count)
                 : QStringLiteral("点字チェック（%1）: 点字の規則に合わないところは見つかりませんでした。").arg(scope));
}

void ReviewPane::goToNext(bool forward)
{
    EditingSession& session = m_view.session();
    if (!session.viewReady())
        return;
    showNow();
    if (m_list.empty()) {
        status(QStringLiteral("確認リストに項目はありません。"));
        return;
    }
    const std::optional<std::size_t> index = goToReviewItem(session, m_list, forward);
    if (!index) {
        status(QStringLiteral("確認リストの項目はすべて済みです。"));
        return;
    }
    show();
    m_table->setCurrentItem(m_table->topLevelItem(int(*index)));
    m_table->scrollToItem(m_table->currentItem());
    const ReviewItem& item = m_list.items()[*index];
    status(QStringLiteral("%1/%2: %3").arg(*index + 1).arg(m_list.size()).arg(qt(reviewDescription(item))));
    emit m_view.stateChanged();
}

void ReviewPane::showItem(int index)
{
    EditingSession& session = m_view.session();
    if (index < 0 || std::size_t(index) >= m_list.size() || !session.viewReady())
        return;
    showReviewItem(session, m_list.items()[std::size_t(index)]);
    emit m_view.stateChanged();
    m_view.setFocus();
}

void ReviewPane::fixCurrent()
{
    const int index = m_table->currentItem() ? m_table->indexOfTopLevelItem(m_table->currentItem()) : -1;
    EditingSession& session = m_view.session();
    if (index < 0 || !session.viewReady())
        return;
    showNow();
    if (!fixReviewItem(session, m_list, std::size_t(index))) {
        status(QStringLiteral("この項目には自動の修正がありません。"));
        return;
    }
    status(QStringLiteral("修正しました。元に戻すには Ctrl+Z を押します。"));
    emit m_view.stateChanged();
    showNow();
    if (m_table->topLevelItemCount() > 0)
        m_table->setCurrentItem(m_table->topLevelItem(std::min(index, m_table->topLevelItemCount() - 1)));
}

void ReviewPane::doneToggled(QTreeWidgetItem* row)
{
    if (m_filling)
        return;
    const int index = m_table->indexOfTopLevelItem(row);
    if (index < 0)
        return;
    m_list.setDone(std::size_t(index), row->checkState(0) == Qt::Checked);
    keepDoneFlags();
    scheduleShow();
}

void ReviewPane::keepDoneFlags()
{
    if (m_book.pathName().isEmpty() || m_book.isModified())
        return; // the places are those of the book in memory: they go with its next save
    if (m_book.isReadOnly())
        return; // the book and its list belong to the Tenkora that holds it
    bookSaved(m_book.pathName());
}

void ReviewPane::bookReplaced(std::vector<ReviewItem> imported)
{
    m_list.clear();
    m_list.startFollowing(m_view.session().undoHistory());
    m_table->clear();
    m_shownRevision = ~std::uint64_t(0);
    const QString path = m_book.pathName();
    if (!imported.empty()) {
        m_list.add(std::move(imported));
    } else if (!path.isEmpty()) {
        const std::filesystem::path sidecar = reviewSidecarPath(fsPathOf(path));
        ReviewRead read = readReviewSidecar(sidecar);
        if (!read.error.empty()) {
            Prompts::tell(QStringLiteral("確認リストのファイルを読めないため、使わずに開きました。\n%1\n%2")
                              .arg(QString::fromStdU16String(sidecar.u16string()), QString::fromStdString(read.error)),
                          this);
        } else if (!read.items.empty()) {
            m_list.add(std::move(read.items));
            const std::size_t dropped = m_list.keepValid(*m_view.session().constDocument());
            if (dropped)
                status(QStringLiteral("確認リストの %1 項目は本の中身と合わないため外しました。").arg(dropped));
        }
    }
    if (!m_list.empty())
        show();
    showNow();
}

void ReviewPane::bookSaved(const QString& path)
{
    const EditingSession& session = m_view.session();
    if (session.constDocument())
        m_list.follow(session.undoHistory(), *session.constDocument());
    const std::filesystem::path sidecar = reviewSidecarPath(fsPathOf(path));
    std::error_code ec;
    if (m_list.empty() && !std::filesystem::exists(sidecar, ec))
        return; // no list, and none to empty
    const SaveResult saved = writeReviewSidecar(sidecar, m_list.items());
    if (!saved)
        status(QStringLiteral("確認リストを保存できませんでした: %1").arg(QString::fromStdString(saved.reason)));
}

void ReviewPane::status(const QString& text) { emit m_view.statusTextChanged(kMessagePane, text); }

} // namespace braille
