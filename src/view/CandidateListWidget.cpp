#include "CandidateListWidget.h"

namespace braille {

CandidateListWidget::CandidateListWidget(QWidget* owner, std::function<void(std::size_t, bool)> choose)
    : QListWidget(owner), m_owner(owner), m_choose(std::move(choose))
{
    setFocusPolicy(Qt::NoFocus);
    resize(100, 100);
    setVisible(false);
}

void CandidateListWidget::fill(const std::vector<std::u16string>& lines)
{
    clear();
    for (const std::u16string& line : lines)
        addItem(QString::fromUtf16(line.data(), qsizetype(line.size())));
}

void CandidateListWidget::select(std::size_t line)
{
    if (line < std::size_t(count()))
        setCurrentRow(int(line));
}

void CandidateListWidget::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    m_owner->setFocus();
    if (m_choose && currentRow() >= 0)
        m_choose(std::size_t(currentRow()), false);
}

void CandidateListWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    m_owner->setFocus();
    if (m_choose && currentRow() >= 0)
        m_choose(std::size_t(currentRow()), true);
}

} // namespace braille
