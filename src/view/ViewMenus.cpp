#include "ViewMenus.h"

#include "CommandIds.h"
#include "QtText.h"
#include "SymbolCommands.h"

#include <QMenu>

#include <map>

namespace braille {

int execContextMenu(QWidget* parent, QPoint global, const ContextMenuState& state)
{
    QMenu menu(parent);
    const auto item = [&](const char* caption, int id, bool enabled) {
        QAction* action = menu.addAction(QString::fromUtf8(caption));
        action->setData(id);
        action->setEnabled(enabled);
    };
    item("切取り", cmd::CutAlt, state.selection);
    item("コピー", cmd::CopyAlt, state.selection);
    item("貼り付け", cmd::PasteAlt, state.cells);
    item("墨字を点訳して貼り付け", cmd::AutoTranslatePaste, state.text);
    item("削除", cmd::Delete, true);
    menu.addSeparator();
    item("TEXTモード変換", cmd::ConvertToText, state.selection);
    item("MATHモード変換", cmd::ConvertToMath, state.selection);
    menu.addSeparator();
    item("下へ検索", cmd::SearchDown, state.selection);
    item("上へ検索", cmd::SearchUp, state.selection);
    menu.addSeparator();
    addSymbolMenu(menu);
    QAction* chosen = menu.exec(global);
    return chosen ? chosen->data().toInt() : 0;
}

void addSymbolMenu(QMenu& parent)
{
    // The submenus are made as the symbol table names them, in table order.
    std::map<std::u16string, QMenu*> menus;
    QFont font = parent.font();
    QStringList families = font.families();
    families << QStringLiteral("Tenkora Cells");
    font.setFamilies(families);
    for (const SymbolCommand& command : symbolCommands()) {
        QMenu* menu = &parent;
        std::u16string key;
        for (std::u16string_view caption : symbolMenuPath(command.menu)) {
            key += caption;
            key += u'/';
            QMenu*& sub = menus[key];
            if (!sub) {
                sub = menu->addMenu(qt(caption));
                sub->setFont(font);
            }
            menu = sub;
        }
        QAction* action = menu->addAction(qt(symbolMenuCaption(command)));
        action->setData(int(command.id));
    }
}

} // namespace braille
