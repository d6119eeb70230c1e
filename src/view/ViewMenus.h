#pragma once
// The view's menus: the right-click menu (cut, copy, paste, the translated paste, delete, the
// TEXT/MATH conversions, the searches and "シンボル挿入") and the symbol submenus the main menu
// shares. Each action carries its command id as its data.

#include <QPoint>

class QMenu;
class QWidget;

namespace braille {

// What the right-click menu offers now.
struct ContextMenuState {
    bool selection = false;   // cut, copy, the conversions and the searches
    bool cells = false;       // Tenkora's own cells on the clipboard: paste
    bool text = false;        // plain text on the clipboard: the translated paste
};

// Shows the right-click menu at `global`; the chosen command id, or 0.
int execContextMenu(QWidget* parent, QPoint global, const ContextMenuState& state);

// Adds the "シンボル挿入" submenu with every symbol command.
void addSymbolMenu(QMenu& parent);

} // namespace braille
