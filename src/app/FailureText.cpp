#include "FailureText.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <locale.h>

namespace braille {

namespace {

struct Known {
    int error;
    const char* japanese;
};

constexpr Known kKnown[] = {
    {EACCES, "このファイルまたはフォルダーに書き込む権限がありません。"},
    {EPERM, "このファイルまたはフォルダーに書き込む権限がありません。"},
    {ENOSPC, "ディスクに空きがありません。"},
    {EDQUOT, "ディスクの使用量の上限を超えています。"},
    {ENOENT, "保存先のフォルダーがありません。"},
    {ENOTDIR, "保存先のフォルダーがありません。"},
    {EROFS, "読み取り専用のファイルシステムには保存できません。"},
    {EISDIR, "同じ名前のフォルダーがあります。"},
    {ENAMETOOLONG, "ファイルの名前が長すぎます。"},
};

// strerror's text in the C locale: the external tools never set a locale.
QString englishText(int error)
{
    static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c ? QString::fromLocal8Bit(strerror_l(error, c)) : QString();
}

} // namespace

QString failureInJapanese(const QString& systemText)
{
    if (systemText.contains(QStringLiteral("in use by another program")))
        return QStringLiteral("ほかのプログラムがこのファイルを使っています。");
    // A missing file or folder is the destination only where the reason is about writing (a tool
    // may also miss its input).
    const bool writing = systemText.contains(QStringLiteral("cannot create")) ||
                         systemText.contains(QStringLiteral("cannot write")) ||
                         systemText.contains(QStringLiteral("cannot replace")) ||
                         systemText.contains(QStringLiteral("cannot save"));
    for (const Known& k : kKnown) {
        const QString local = QString::fromLocal8Bit(std::strerror(k.error));
        const QString english = englishText(k.error);
        if ((!local.isEmpty() && systemText.contains(local)) || (!english.isEmpty() && systemText.contains(english))) {
            if ((k.error == ENOENT || k.error == ENOTDIR) && !writing)
                return QStringLiteral("ファイルまたはフォルダーが見つかりません。");
            return QString::fromUtf8(k.japanese);
        }
    }
    return {};
}

QString saveFailureMessage(const QString& lead, const QString& systemText)
{
    const QString why = failureInJapanese(systemText);
    return why.isEmpty() ? lead + u'\n' + systemText : lead + u'\n' + why + u'\n' + systemText;
}

} // namespace braille
