#pragma once
// Tells a screen reader what changed in the view: every edit since the last time as the text it
// put in or took out (undone and redone ones too), the caret's new offset, and a new name.

#include <QString>

#include <cstdint>

class QObject;

namespace braille {

class EditingSession;

class AccessibilityAnnouncer {
public:
    // `view` is the widget the events are about; `name` its accessible name now.
    void announce(QObject* view, const EditingSession& session, const QString& name);

private:
    std::uint64_t m_serial = 0;
    int m_caret = -1;
    QString m_name;
};

} // namespace braille
