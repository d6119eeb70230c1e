#pragma once
// The reason a file could not be written or read, in Japanese, for the common system errors (no
// permission, a full disk, a missing folder, a read-only file system, a file in use). The system's
// own words (strerror, in the program's language or in English from the external tools) are
// looked up in the reason the core gave; what is not recognised gives an empty text, and the
// system's words are then shown alone.

#include <QString>

namespace braille {

QString failureInJapanese(const QString& systemText);

// "ファイルを保存できませんでした。" with the Japanese reason and the system's words under it.
QString saveFailureMessage(const QString& lead, const QString& systemText);

} // namespace braille
