#include "MenuBuilder.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>

#include <vector>

namespace braille {

namespace {

QString textOf(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString unescape(QString s) { return s.replace(QStringLiteral("\\t"), QStringLiteral("\t")).replace(QStringLiteral("\\n"), QStringLiteral("\n")); }

} // namespace

BuiltMenus buildMenuBar(QMenuBar& bar, const QString& resource,
                        const std::function<QAction*(int id, const QString& caption)>& action)
{
    BuiltMenus built;
    std::vector<QMenu*> stack;
    for (const QString& raw : textOf(resource).split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QString word = line.section(u' ', 0, 0);
        const QString rest = unescape(line.section(u' ', 1));
        if (word == QStringLiteral("menu")) {
            QMenu* menu = stack.empty() ? bar.addMenu(rest) : stack.back()->addMenu(rest);
            if (stack.empty() && !built.fileMenu)
                built.fileMenu = menu;
            stack.push_back(menu);
        } else if (word == QStringLiteral("end") && !stack.empty()) {
            stack.pop_back();
        } else if (word == QStringLiteral("separator") && !stack.empty()) {
            stack.back()->addSeparator();
        } else if (word == QStringLiteral("recent") && !stack.empty()) {
            built.recentAnchor = stack.back()->addAction(QStringLiteral("最近使ったファイル"));
            built.recentAnchor->setEnabled(false);
        } else if (word == QStringLiteral("item") && !stack.empty()) {
            const int commandId = rest.section(u' ', 0, 0).toInt();
            stack.back()->addAction(action(commandId, rest.section(u' ', 1)));
        }
    }
    return built;
}

std::map<int, QString> readPrompts(const QString& resource)
{
    std::map<int, QString> prompts;
    for (const QString& line : textOf(resource).split(u'\n')) {
        if (line.startsWith(u'#') || !line.contains(u'\t'))
            continue;
        prompts[line.section(u'\t', 0, 0).toInt()] = unescape(line.section(u'\t', 1));
    }
    return prompts;
}

} // namespace braille
