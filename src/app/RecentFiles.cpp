#include "RecentFiles.h"

#include "CommandIds.h"
#include "Settings.h"

#include <QAction>
#include <QMenu>

namespace braille {

RecentFiles::RecentFiles(QStringList files, MakeAction make, DropAction drop)
    : m_files(std::move(files)), m_make(std::move(make)), m_drop(std::move(drop))
{
}

void RecentFiles::setMenu(QMenu* menu, QAction* anchor)
{
    m_menu = menu;
    m_anchor = anchor;
    fill();
}

void RecentFiles::remember(const QString& path)
{
    const int count = Settings::recentFileCount();
    m_files.removeAll(path);
    m_files.prepend(path);
    while (m_files.size() > count)
        m_files.removeLast();
    fill();
}

QString RecentFiles::at(int index) const { return index >= 0 && index < m_files.size() ? m_files[index] : QString(); }

void RecentFiles::forget(int index)
{
    if (index < 0 || index >= m_files.size())
        return;
    m_files.removeAt(index);
    fill();
}

void RecentFiles::fill()
{
    for (QAction* a : m_actions) {
        if (m_menu)
            m_menu->removeAction(a);
        m_drop(a);
    }
    m_actions.clear();
    if (!m_menu || !m_anchor)
        return;
    m_anchor->setVisible(m_files.isEmpty());
    for (int i = 0; i < m_files.size() && i < cmd::RecentCount; ++i) {
        QAction* a = m_make(cmd::RecentFirst + i, QStringLiteral("&%1 %2").arg(i + 1).arg(m_files[i]));
        m_menu->insertAction(m_anchor, a);
        m_actions.push_back(a);
    }
}

} // namespace braille
