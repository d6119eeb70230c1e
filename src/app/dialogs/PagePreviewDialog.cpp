#include "PagePreviewDialog.h"

#include <QAbstractPrintDialog>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace braille {

namespace {

// Cell pitches in pixels, smallest to largest; the preview starts at kStartZoom.
constexpr std::array<qreal, 11> kPitches{8, 10, 12, 14, 16, 20, 24, 28, 32, 40, 48};
constexpr int kStartZoom = 3;
constexpr int kGap = 24; // around and between the pages

} // namespace

// The pages shown, each with its caption above its sheet.
class PagePreviewDialog::Sheet : public QWidget {
public:
    explicit Sheet(PagePreviewDialog& dialog) : QWidget(&dialog), m_dialog(dialog)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
    }
    int slotCount() const { return m_dialog.twoPages() ? 2 : 1; }
    int captionHeight() const { return fontMetrics().height() + 6; }
    QPointF origin(int slot) const
    {
        const QSizeF page = m_dialog.geometry().sheetSize();
        return {kGap + slot * (page.width() + kGap), qreal(kGap + captionHeight())};
    }
    void fit()
    {
        const QSizeF page = m_dialog.geometry().sheetSize();
        setFixedSize(int(kGap + slotCount() * (page.width() + kGap)) + 1, int(kGap + captionHeight() + page.height() + kGap) + 1);
        QWidget::update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        const PageGeometry g = m_dialog.geometry();
        for (int slot = 0; slot < slotCount(); ++slot) {
            const std::size_t index = m_dialog.m_current + std::size_t(slot);
            if (index >= m_dialog.m_pages.size())
                break;
            const QPointF at = origin(slot);
            painter.setPen(Qt::white);
            painter.drawText(QRectF(at.x(), kGap, g.sheetSize().width(), captionHeight()), Qt::AlignLeft | Qt::AlignTop,
                             QStringLiteral("%1（%2 / %3）")
                                 .arg(pageCaption(m_dialog.m_pages[index]))
                                 .arg(index + 1)
                                 .arg(m_dialog.m_pages.size()));
            painter.save();
            painter.translate(at);
            paintBraillePage(painter, g, m_dialog.m_pages[index],
                             index < m_dialog.m_print.size() ? &m_dialog.m_print[index] : nullptr);
            painter.restore();
        }
    }

private:
    PagePreviewDialog& m_dialog;
};

PagePreviewDialog::PagePreviewDialog(std::vector<BraillePage> pages, std::vector<PagePrint> print, PageLayout layout,
                                     std::size_t first, QWidget* parent)
    : QDialog(parent), m_pages(std::move(pages)), m_print(std::move(print)), m_layout(layout), m_zoom(kStartZoom)
{
    setWindowTitle(QStringLiteral("点字ページプレビュー"));
    auto* column = new QVBoxLayout(this);
    auto* controls = new QHBoxLayout;
    column->addLayout(controls);

    auto* previous = new QPushButton(QStringLiteral("前のページ"), this);
    previous->setToolTip(QStringLiteral("PgUp"));
    auto* pageLabel = new QLabel(QStringLiteral("ページ(&G)："), this);
    m_pageBox = new QSpinBox(this);
    m_pageBox->setRange(1, std::max<int>(int(m_pages.size()), 1));
    m_pageBox->setSuffix(QStringLiteral(" / %1").arg(m_pages.size()));
    m_pageBox->setAccessibleName(QStringLiteral("ページ"));
    m_pageBox->setKeyboardTracking(false);
    pageLabel->setBuddy(m_pageBox);
    auto* next = new QPushButton(QStringLiteral("次のページ"), this);
    next->setToolTip(QStringLiteral("PgDn"));
    m_caption = new QLabel(this);
    m_caption->setMinimumWidth(m_caption->fontMetrics().horizontalAdvance(QStringLiteral("本文 999ページ・本文 999ページ")));
    m_twoPages = new QCheckBox(QStringLiteral("見開き(&W)"), this);
    m_printUnder = new QCheckBox(QStringLiteral("墨字を表示(&S)"), this);
    auto* smaller = new QPushButton(QStringLiteral("縮小"), this);
    smaller->setToolTip(QStringLiteral("Ctrl+-"));
    auto* larger = new QPushButton(QStringLiteral("拡大"), this);
    larger->setToolTip(QStringLiteral("Ctrl++"));
    auto* printButton = new QPushButton(QStringLiteral("印刷(&P)..."), this);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    for (QPushButton* b : {previous, next, smaller, larger, printButton, close})
        b->setAutoDefault(false);
    controls->addWidget(previous);
    controls->addWidget(pageLabel);
    controls->addWidget(m_pageBox);
    controls->addWidget(next);
    controls->addWidget(m_caption);
    controls->addStretch();
    controls->addWidget(m_twoPages);
    controls->addWidget(m_printUnder);
    controls->addWidget(smaller);
    controls->addWidget(larger);
    controls->addWidget(printButton);
    controls->addWidget(close);

    m_sheet = new Sheet(*this);
    m_sheet->setAccessibleName(QStringLiteral("点字ページ"));
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_sheet);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    column->addWidget(m_scroll, 1);

    connect(previous, &QPushButton::clicked, this, [this] { step(-1); });
    connect(next, &QPushButton::clicked, this, [this] { step(+1); });
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_updating)
            showPage(std::size_t(std::max(value, 1) - 1));
    });
    connect(m_twoPages, &QCheckBox::toggled, this, [this] { refresh(); });
    connect(m_printUnder, &QCheckBox::toggled, this, [this] { refresh(); });
    connect(smaller, &QPushButton::clicked, this, [this] { zoom(-1); });
    connect(larger, &QPushButton::clicked, this, [this] { zoom(+1); });
    connect(printButton, &QPushButton::clicked, this, [this] { printWithDialog(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    // PgUp and PgDn turn the pages wherever the focus is in the dialog (the page field would
    // otherwise take them as steps of ten).
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    installEventFilter(this);

    if (parent)
        resize(parent->size() * 0.9);
    showPage(first);
    m_sheet->setFocus();
}

bool PagePreviewDialog::twoPages() const { return m_twoPages->isChecked(); }

void PagePreviewDialog::setTwoPages(bool on) { m_twoPages->setChecked(on); }

bool PagePreviewDialog::printUnder() const { return m_printUnder->isChecked(); }

void PagePreviewDialog::setPrintUnder(bool on) { m_printUnder->setChecked(on); }

PageGeometry PagePreviewDialog::geometry() const
{
    PageGeometry g;
    g.cellPitch = kPitches[std::size_t(m_zoom)];
    g.printUnder = printUnder();
    g.columns = std::max<std::uint32_t>(m_layout.ColumnNumber, 1);
    g.lines = std::max<std::uint32_t>(m_layout.LineNumber, 1);
    return g;
}

QWidget* PagePreviewDialog::sheetWidget() const { return m_sheet; }

QPointF PagePreviewDialog::sheetOrigin(int slot) const { return m_sheet->origin(slot); }

void PagePreviewDialog::showPage(std::size_t index)
{
    m_current = m_pages.empty() ? 0 : std::min(index, m_pages.size() - 1);
    refresh();
}

void PagePreviewDialog::step(int direction)
{
    const std::size_t by = twoPages() ? 2 : 1;
    if (direction < 0)
        showPage(m_current >= by ? m_current - by : 0);
    else if (m_current + by < m_pages.size())
        showPage(m_current + by);
}

void PagePreviewDialog::zoom(int steps)
{
    m_zoom = std::clamp(m_zoom + steps, 0, int(kPitches.size()) - 1);
    refresh();
}

void PagePreviewDialog::refresh()
{
    m_updating = true;
    m_pageBox->setValue(int(m_current) + 1);
    m_updating = false;
    QString caption;
    if (!m_pages.empty()) {
        caption = pageCaption(m_pages[m_current]);
        if (twoPages() && m_current + 1 < m_pages.size())
            caption += QStringLiteral("・") + pageCaption(m_pages[m_current + 1]);
    }
    m_caption->setText(caption);
    m_sheet->setAccessibleDescription(caption);
    m_sheet->fit();
}

bool PagePreviewDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool control = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
    case Qt::Key_PageDown: step(+1); return true;
    case Qt::Key_PageUp: step(-1); return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!control)
            break;
        showPage(key->key() == Qt::Key_Home ? 0 : m_pages.size() - 1);
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Minus:
        if (!control)
            break;
        zoom(key->key() == Qt::Key_Minus ? -1 : +1);
        return true;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void PagePreviewDialog::printWithDialog()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("校正刷りの印刷"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(1, std::max<int>(int(m_pages.size()), 1));
    if (dialog.exec() == QDialog::Accepted)
        printProof(printer);
}

void PagePreviewDialog::printProof(QPrinter& printer) const
{
    if (m_pages.empty())
        return;
    QPainter painter(&printer);
    if (!painter.isActive())
        return;
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    // The page as large as the sheet holds it, under a caption line.
    PageGeometry g = geometry();
    g.printUnder = true;
    g.cellPitch = 1;
    const qreal captionShare = 1.2;
    const QSizeF unit = g.sheetSize();
    g.cellPitch = std::min(area.width() / unit.width(), area.height() / (unit.height() + captionShare));
    const qreal captionHeight = g.cellPitch * captionShare;
    QFont captionFont;
    captionFont.setFamilies({QStringLiteral("IPAGothic")});
    captionFont.setPixelSize(std::max(1, int(g.cellPitch * 0.6)));

    std::size_t from = 0, to = m_pages.size() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::min<std::size_t>(std::size_t(printer.fromPage() - 1), m_pages.size() - 1);
        to = std::clamp<std::size_t>(std::size_t(std::max(printer.toPage(), printer.fromPage()) - 1), from, m_pages.size() - 1);
    }
    for (std::size_t index = from; index <= to; ++index) {
        if (index > from)
            printer.newPage();
        painter.setFont(captionFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, 0, area.width(), captionHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("%1（%2 / %3）").arg(pageCaption(m_pages[index])).arg(index + 1).arg(m_pages.size()));
        painter.save();
        painter.translate(0, captionHeight);
        paintBraillePage(painter, g, m_pages[index], index < m_print.size() ? &m_print[index] : nullptr);
        painter.restore();
    }
}

} // namespace braille
