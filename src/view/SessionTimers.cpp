#include "SessionTimers.h"

namespace braille {

SessionTimers::SessionTimers(std::function<void(int id)> tick)
{
    for (int id = 0; id < int(m_timers.size()); ++id)
        QObject::connect(&m_timers[std::size_t(id)], &QTimer::timeout, [tick, id] { tick(id); });
}

void SessionTimers::start(int id, int milliseconds)
{
    if (id >= 0 && id < int(m_timers.size()))
        m_timers[std::size_t(id)].start(milliseconds);
}

void SessionTimers::stop(int id)
{
    if (id >= 0 && id < int(m_timers.size()))
        m_timers[std::size_t(id)].stop();
}

} // namespace braille
