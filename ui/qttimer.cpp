#include "qttimer.h"

TQtTimer::TQtTimer(int intervalMs, std::function<void()> handler, QObject* parent)
    : QObject(parent), _handler(std::move(handler))
{
    _timer.setTimerType(Qt::PreciseTimer);
    _timer.setInterval(intervalMs);
    connect(&_timer, &QTimer::timeout, this, &TQtTimer::Timeout);
}

void TQtTimer::SetEnabled(bool enabled)
{
    _enabled = enabled;
    if (enabled && !_timer.isActive())
        _timer.start();
}

void TQtTimer::Timeout()
{
    if (!_enabled) {
        _timer.stop();
        return;
    }
    _handler();
}
