#include "EmbossDialog.h"

#include <algorithm>

#include "EmbossJob.h"
#include "Prompts.h"
#include "Settings.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtConcurrent/QtConcurrentRun>

namespace braille {

namespace {

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

// The queue as the list shows it: its name, its description where that says more, and a word
// where its driver does not take braille.
QString queueCaption(const EmbosserQueue& queue)
{
    QString caption = fromUtf8(queue.name);
    if (!queue.info.empty() && queue.info != queue.name)
        caption += QStringLiteral(" — ") + fromUtf8(queue.info);
    if (!queue.takesBrf)
        caption += QStringLiteral("（点字プリンタではありません）");
    return caption;
}

} // namespace

EmbossDialog::EmbossDialog(std::vector<BraillePage> pages, QString title, QWidget* parent)
    : QDialog(parent), m_pages(std::move(pages)), m_title(std::move(title))
{
    setWindowTitle(QStringLiteral("点字プリンタで印刷"));
    const int pageCount = int(m_pages.size());
    auto* grid = new QGridLayout(this);
    int row = 0;

    auto* queueLabel = new QLabel(QStringLiteral("プリンタ(&N)："), this);
    m_queues = new QComboBox(this);
    m_queues->setMinimumContentsLength(28);
    m_queues->setAccessibleName(QStringLiteral("プリンタ"));
    queueLabel->setBuddy(m_queues);
    grid->addWidget(queueLabel, row, 0);
    grid->addWidget(m_queues, row++, 1, 1, 4);
    m_queueNote = new QLabel(this);
    grid->addWidget(m_queueNote, row++, 1, 1, 4);

    grid->addWidget(new QLabel(QStringLiteral("ページ："), this), row, 0);
    m_allPages = new QRadioButton(QStringLiteral("すべて（全 %1 ページ）(&A)").arg(pageCount), this);
    m_allPages->setChecked(true);
    grid->addWidget(m_allPages, row++, 1, 1, 4);
    m_range = new QRadioButton(QStringLiteral("範囲(&G)："), this);
    m_from = new QSpinBox(this);
    m_to = new QSpinBox(this);
    for (QSpinBox* box : {m_from, m_to}) {
        box->setRange(1, std::max(pageCount, 1));
        box->setEnabled(false);
    }
    m_to->setValue(std::max(pageCount, 1));
    m_from->setAccessibleName(QStringLiteral("始めのページ"));
    m_to->setAccessibleName(QStringLiteral("終わりのページ"));
    grid->addWidget(m_range, row, 1);
    grid->addWidget(m_from, row, 2);
    grid->addWidget(new QLabel(QStringLiteral("から"), this), row, 3);
    auto* toRow = new QHBoxLayout;
    toRow->addWidget(m_to);
    toRow->addWidget(new QLabel(QStringLiteral("まで"), this));
    grid->addLayout(toRow, row++, 4);
    connect(m_range, &QRadioButton::toggled, this, [this](bool on) {
        m_from->setEnabled(on);
        m_to->setEnabled(on);
    });

    auto* copiesLabel = new QLabel(QStringLiteral("部数(&C)："), this);
    m_copies = new QSpinBox(this);
    m_copies->setRange(1, int(kMostCopies));
    m_copies->setAccessibleName(QStringLiteral("部数"));
    copiesLabel->setBuddy(m_copies);
    grid->addWidget(copiesLabel, row, 0);
    grid->addWidget(m_copies, row++, 1);

    m_bothSides = new QCheckBox(QStringLiteral("両面に打つ（インターポイント）(&D)"), this);
    m_bothSides->setEnabled(false);
    grid->addWidget(m_bothSides, row++, 1, 1, 4);

    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    grid->addWidget(m_status, row++, 0, 1, 5);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1000);
    m_progress->setVisible(false);
    // Its room is kept while it is hidden, so the dialog does not move under a magnifier.
    QSizePolicy keepRoom = m_progress->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_progress->setSizePolicy(keepRoom);
    grid->addWidget(m_progress, row++, 0, 1, 5);

    auto* buttons = new QDialogButtonBox(this);
    // Printing leaves the dialog open to follow the job: not the box's accepting button.
    m_print = buttons->addButton(QStringLiteral("印刷"), QDialogButtonBox::ActionRole);
    m_close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    // Enter never presses 閉じる/キャンセル, even when it has the focus while sending: an Enter
    // pressed twice must not withdraw the job just sent (Escape still does).
    m_close->setAutoDefault(false);
    m_print->setDefault(true);
    connect(m_print, &QPushButton::clicked, this, &EmbossDialog::print);
    connect(m_close, &QPushButton::clicked, this, &EmbossDialog::reject);
    grid->addWidget(buttons, row++, 0, 1, 5);

    connect(m_queues, &QComboBox::currentIndexChanged, this, &EmbossDialog::queueChosen);
    connect(&m_listing, &QFutureWatcher<QueueList>::finished, this, &EmbossDialog::queuesArrived);
    connect(&m_sending, &QFutureWatcher<JobSubmission>::finished, this, &EmbossDialog::sent);
    connect(&m_sending, &QFutureWatcher<JobSubmission>::progressValueChanged, m_progress, &QProgressBar::setValue);
    connect(&m_looking, &QFutureWatcher<JobStatus>::finished, this, &EmbossDialog::jobLooked);
    m_follow.setInterval(500);
    connect(&m_follow, &QTimer::timeout, this, &EmbossDialog::lookAtJob);

    setStage(Stage::Listing);
    showStatus(QStringLiteral("プリンタを探しています…"));
    m_listing.setFuture(QtConcurrent::run(listEmbosserQueues));
}

EmbossDialog::~EmbossDialog()
{
    // A sending still running stops and withdraws its job; nothing here waits for it.
    m_sending.cancel();
}

QString EmbossDialog::queue() const { return m_queues->currentData().toString(); }

void EmbossDialog::showStatus(const QString& text)
{
    m_status->setText(text);
    m_status->setAccessibleName(text);
    // A long message wraps: the dialog grows to show all its lines rather than cut them.
    m_status->setMinimumHeight(m_status->heightForWidth(std::max(m_status->width(), m_status->sizeHint().width() / 2)));
    // A screen reader hears where the job is without having to look for the line.
    QAccessibleEvent changed(m_status, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void EmbossDialog::fail(const CupsFailure& failure)
{
    const QString text = fromUtf8(failure.message());
    showStatus(text);
    Prompts::warn(text, this);
}

void EmbossDialog::setStage(Stage stage)
{
    m_stage = stage;
    const bool sending = stage == Stage::Sending;
    const bool haveQueues = !m_list.queues.empty();
    m_print->setEnabled(haveQueues && stage != Stage::Listing && !sending);
    for (QWidget* w : std::initializer_list<QWidget*>{m_queues, m_allPages, m_range, m_copies})
        w->setEnabled(haveQueues && !sending);
    m_from->setEnabled(haveQueues && !sending && m_range->isChecked());
    m_to->setEnabled(m_from->isEnabled());
    const EmbosserQueue* q = m_list.find(queue().toStdString());
    m_bothSides->setEnabled(q && q->offersBothSides && !sending);
    m_progress->setVisible(sending);
    m_close->setText(sending ? QStringLiteral("キャンセル") : QStringLiteral("閉じる"));
    // While the rest was disabled the focus could only rest on 閉じる, which then took Enter for
    // itself; Enter prints again once there is something to choose.
    if (!sending && haveQueues && (focusWidget() == m_close || !focusWidget())) {
        m_queues->setFocus();
        m_print->setDefault(true);
    }
}

void EmbossDialog::queuesArrived()
{
    m_list = m_listing.result();
    if (m_list.failure) {
        setStage(Stage::Done);
        fail(m_list.failure);
        return;
    }
    {
        const QSignalBlocker quiet(m_queues);
        for (const EmbosserQueue& q : m_list.queues)
            m_queues->addItem(queueCaption(q), fromUtf8(q.name));
        m_queues->setCurrentIndex(m_queues->findData(fromUtf8(m_list.proposal(Settings::embosser().toStdString()))));
    }
    setStage(Stage::Ready);
    queueChosen();
    showStatus(QStringLiteral("%1 ページの本です。").arg(m_pages.size()));
}

void EmbossDialog::queueChosen()
{
    const EmbosserQueue* q = m_list.find(queue().toStdString());
    m_bothSides->setEnabled(q && q->offersBothSides && m_stage != Stage::Sending);
    m_bothSides->setChecked(q && q->offersBothSides && q->bothSidesByDefault);
    QString note = q ? fromUtf8(q->makeAndModel) : QString();
    if (q && !q->accepting)
        note += QStringLiteral("（いまは印刷を受け付けていません）");
    m_queueNote->setText(note);
}

void EmbossDialog::print()
{
    if (!m_print->isEnabled() || queue().isEmpty())
        return;
    const PageRange range =
        m_range->isChecked() ? PageRange{std::uint32_t(m_from->value()), std::uint32_t(m_to->value())} : PageRange{};
    if (const std::string problem = rangeProblem(range, m_pages.size()); !problem.empty()) {
        Prompts::warn(fromUtf8(problem), this);
        return;
    }
    const EmbosserQueue* q = m_list.find(queue().toStdString());
    JobOptions options;
    options.title = m_title.toStdString();
    options.offersBothSides = q && q->offersBothSides;
    options.bothSides = options.offersBothSides && m_bothSides->isChecked();
    const auto copies = std::uint32_t(m_copies->value());
    m_follow.stop();
    m_jobId = 0;
    m_jobQueue = queue();
    setStage(Stage::Sending);
    m_progress->setValue(0);
    showStatus(QStringLiteral("プリンタ「%1」に送っています…").arg(m_jobQueue));
    m_sending.setFuture(QtConcurrent::run(
        [pages = m_pages, range, copies, options, name = m_jobQueue.toStdString()](QPromise<JobSubmission>& promise) {
            const std::string brf = embossBytes(pages, range, copies, options.bothSides);
            promise.setProgressRange(0, 1000);
            promise.addResult(submitBrfJob(name, brf, options, [&promise](std::size_t sent, std::size_t total) {
                promise.setProgressValue(total ? int(sent * 1000 / total) : 1000);
                return !promise.isCanceled();
            }));
        }));
}

void EmbossDialog::sent()
{
    if (m_sending.isCanceled() || m_sending.future().resultCount() == 0) {
        setStage(Stage::Ready);
        showStatus(fromUtf8(CupsFailure{CupsFailure::Canceled, {}, {}, 0}.message()));
        return;
    }
    const JobSubmission job = m_sending.result();
    if (job.failure) {
        setStage(Stage::Ready); // another queue may take it
        fail(job.failure);
        return;
    }
    m_jobId = job.jobId;
    Settings::setEmbosser(m_jobQueue);
    setStage(Stage::Following);
    showStatus(QStringLiteral("ジョブ %1 をプリンタ「%2」に送りました。").arg(m_jobId).arg(m_jobQueue));
    m_follow.start();
    lookAtJob();
}

void EmbossDialog::lookAtJob()
{
    if (m_stage != Stage::Following || m_looking.isRunning())
        return;
    m_looking.setFuture(QtConcurrent::run(embossJobStatus, m_jobQueue.toStdString(), m_jobId));
}

void EmbossDialog::jobLooked()
{
    if (m_stage != Stage::Following || m_looking.future().resultCount() == 0)
        return;
    const JobStatus status = m_looking.result();
    const QString job = QStringLiteral("ジョブ %1：").arg(m_jobId);
    switch (status.state) {
    case JobStatus::Waiting: showStatus(job + QStringLiteral("印刷を待っています。")); return;
    case JobStatus::Processing: showStatus(job + QStringLiteral("印刷しています。")); return;
    case JobStatus::Completed:
        m_follow.stop();
        setStage(Stage::Done);
        showStatus(job + QStringLiteral("印刷が終わりました。"));
        return;
    case JobStatus::Failed:
    case JobStatus::Unknown:
        if (!status.failure)
            return;
        m_follow.stop();
        setStage(Stage::Done);
        fail(status.failure);
        return;
    }
}

void EmbossDialog::reject()
{
    // Closing while sending withdraws the job: the sending sees the cancel between two chunks.
    if (m_stage == Stage::Sending)
        m_sending.cancel();
    m_follow.stop();
    QDialog::reject();
}

} // namespace braille
