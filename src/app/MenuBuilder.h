#pragma once
// The main menu from its description (resources/menus.txt, or menus-link.txt in link mode) and
// the command prompts (prompts.txt): one line an item, "menu CAPTION" .. "end", "item ID
// CAPTION", "separator" and "recent" (where the recent files go).

#include <QString>

#include <functional>
#include <map>

class QAction;
class QMenu;
class QMenuBar;

namespace braille {

struct BuiltMenus {
    QMenu* fileMenu = nullptr;        // the first menu of the bar
    QAction* recentAnchor = nullptr;  // the recent files go before it
};

// Fills `bar` from the description in `resource`; `action` makes (or finds) the action of a
// command id with its caption.
BuiltMenus buildMenuBar(QMenuBar& bar, const QString& resource,
                        const std::function<QAction*(int id, const QString& caption)>& action);

// The status prompts by command id ("status line\ntool tip").
std::map<int, QString> readPrompts(const QString& resource);

} // namespace braille
