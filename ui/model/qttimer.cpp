#include "ui/model/qttimer.h"

#include <algorithm>

#include "ui/app/application.h"

namespace {

// How far behind its grid the timer may fall before the grid moves on.
constexpr int kSlotsMadeUp = 3;
// Qt's clock and this one may disagree by a few microseconds.
constexpr qint64 kClockSkewNs = 50000;

} // namespace

TQtTimer::TQtTimer(int intervalMs, std::function<void()> handler, QObject* parent)
    : QObject(parent), _handler(std::move(handler)), _intervalNs(qint64(intervalMs) * 1000000)
{
    _timer.setTimerType(Qt::PreciseTimer);
    _timer.setInterval(intervalMs);
    _catchUp.setSingleShot(true);
    _catchUp.setInterval(0);
    connect(&_timer, &QTimer::timeout, this, &TQtTimer::Timeout);
    connect(&_catchUp, &QTimer::timeout, this, &TQtTimer::Timeout);
    _clock.start();
}

void TQtTimer::SetEnabled(bool enabled)
{
    _enabled = enabled;
    if (enabled && !_timer.isActive()) {
        // A fresh start: the first slot is one interval from now.
        _nextSlotNs = _clock.nsecsElapsed() + _intervalNs;
        _timer.start();
    }
}

void TQtTimer::SetInterval(int intervalMs)
{
    _intervalNs = qint64(intervalMs) * 1000000;
    _timer.setInterval(intervalMs);
}

void TQtTimer::Timeout()
{
    if (!_enabled) {
        _timer.stop();
        _catchUp.stop();
        return;
    }
    const qint64 now = _clock.nsecsElapsed();
    if (now < _nextSlotNs - kClockSkewNs)
        return; // this slot was served already
    _nextSlotNs = std::max(_nextSlotNs + _intervalNs, now - kSlotsMadeUp * _intervalNs);
    // A tick is an event handler of its own: nothing it throws may reach Qt.
    TVeskApplication::RunCommand(_handler);
    if (_enabled && _clock.nsecsElapsed() >= _nextSlotNs)
        _catchUp.start();
}
