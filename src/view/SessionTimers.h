#pragma once
// The editing session's timers, by id, as Qt timers on the window's thread: the session starts
// and stops them, and hears their ticks through `tick`.

#include <QTimer>

#include <array>
#include <functional>

namespace braille {

class SessionTimers {
public:
    explicit SessionTimers(std::function<void(int id)> tick);
    SessionTimers(const SessionTimers&) = delete;
    SessionTimers& operator=(const SessionTimers&) = delete;

    void start(int id, int milliseconds);
    void stop(int id);

private:
    std::array<QTimer, 4> m_timers; // the session uses ids 1 and 3
};

} // namespace braille
