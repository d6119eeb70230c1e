#pragma once
// 点字プリンタで印刷: the dialog that sends the book to a braille embosser through CUPS. It lists
// the CUPS queues (those whose driver takes BRF first, the one last used chosen), the pages (all
// or a range), the copies and, where the queue's driver offers it, embossing on both sides; the
// print button (the default one, so Enter prints) sends the book's pages as BRF and then follows
// the job until it is done or has failed.
//
// Every CUPS call runs off the window's thread (the list, the sending with its progress, each
// look at the job); the dialog hears the results through watchers it owns, so closing it never
// waits on CUPS. Failures are told through Prompts and stay written in the dialog.

#include "CupsEmbosser.h"
#include "Pagination.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QTimer>

#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace braille {

class EmbossDialog : public QDialog {
    Q_OBJECT

public:
    // `pages`: the book paginated as for BRF; `title`: the job's name at the printer.
    EmbossDialog(std::vector<BraillePage> pages, QString title, QWidget* parent = nullptr);
    ~EmbossDialog() override;

    // Where the dialog is: the list being asked for, ready to print, sending, the job followed,
    // or done (the job finished or failed, or the queues could not be listed).
    enum class Stage { Listing, Ready, Sending, Following, Done };
    Stage stage() const { return m_stage; }
    int jobId() const { return m_jobId; }
    QString queue() const;

    QComboBox* queueBox() const { return m_queues; }
    QRadioButton* allPagesButton() const { return m_allPages; }
    QRadioButton* rangeButton() const { return m_range; }
    QSpinBox* fromBox() const { return m_from; }
    QSpinBox* toBox() const { return m_to; }
    QSpinBox* copiesBox() const { return m_copies; }
    QCheckBox* bothSidesBox() const { return m_bothSides; }
    QPushButton* printButton() const { return m_print; }
    QLabel* statusLabel() const { return m_status; }
    QProgressBar* progressBar() const { return m_progress; }

    // How often the job is looked at once sent.
    void setFollowInterval(int ms) { m_follow.setInterval(ms); }

public slots:
    void print();
    void reject() override;

private:
    void queuesArrived();
    void queueChosen();
    void sent();
    void lookAtJob();
    void jobLooked();
    void showStatus(const QString& text);
    void fail(const CupsFailure& failure);
    void setStage(Stage stage);

    std::vector<BraillePage> m_pages;
    QString m_title;
    QueueList m_list;
    Stage m_stage = Stage::Listing;
    QString m_jobQueue;
    int m_jobId = 0;

    QComboBox* m_queues;
    QLabel* m_queueNote;
    QRadioButton* m_allPages;
    QRadioButton* m_range;
    QSpinBox* m_from;
    QSpinBox* m_to;
    QSpinBox* m_copies;
    QCheckBox* m_bothSides;
    QLabel* m_status;
    QProgressBar* m_progress;
    QPushButton* m_print;
    QPushButton* m_close;

    QFutureWatcher<QueueList> m_listing;
    QFutureWatcher<JobSubmission> m_sending;
    QFutureWatcher<JobStatus> m_looking;
    QTimer m_follow;
};

} // namespace braille
