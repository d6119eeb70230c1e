#pragma once
// The recent files of the File menu: newest first, as many as the settings allow, each an action
// with its command id (cmd::RecentFirst + index) placed before the menu's anchor.

#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QMenu;

namespace braille {

class RecentFiles {
public:
    using MakeAction = std::function<QAction*(int id, const QString& caption)>;
    using DropAction = std::function<void(QAction*)>;
    RecentFiles(QStringList files, MakeAction make, DropAction drop);

    // Where the actions go (none in link mode, which has no recent files).
    void setMenu(QMenu* menu, QAction* anchor);
    const QStringList& files() const { return m_files; }
    // A book was opened or saved: it goes first.
    void remember(const QString& path);
    // The path of the action `index`, or empty.
    QString at(int index) const;
    // A file that could not be opened leaves the list.
    void forget(int index);

private:
    void fill();

    QStringList m_files;
    MakeAction m_make;
    DropAction m_drop;
    QMenu* m_menu = nullptr;
    QAction* m_anchor = nullptr;
    std::vector<QAction*> m_actions;
};

} // namespace braille
