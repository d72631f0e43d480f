// The interpreter's timer on the Qt event loop.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

#include "core/vesktimer.h"

// A precise repeating QTimer. The core turns its timer off at the start of every
// tick and on again at the end; stopping and restarting the QTimer each time
// would cost a wake-up per tick, so "off" only suppresses the handler and the
// QTimer is stopped when it fires while off.
//
// Qt rounds every wait up to a whole millisecond, so a 1 ms timer slips behind
// its own schedule by a little on every wake-up. The handler therefore runs on
// a grid of slots one interval apart: never twice in one slot, and when a
// wake-up came so late that the next slot is already due, once more straight
// from the event loop. At most a few missed slots are made up.
class TQtTimer final : public QObject, public TVeskTimer {
    Q_OBJECT
public:
    TQtTimer(int intervalMs, std::function<void()> handler, QObject* parent);
    void SetEnabled(bool enabled) override;
    [[nodiscard]] bool Enabled() const override { return _enabled; }
    // A new interval; a running timer moves to it from its next slot on.
    void SetInterval(int intervalMs);

private:
    void Timeout();

    QTimer _timer;
    QTimer _catchUp; // single shot, 0 ms
    QElapsedTimer _clock;
    std::function<void()> _handler;
    qint64 _intervalNs;
    qint64 _nextSlotNs = 0;
    bool _enabled = false;
};
