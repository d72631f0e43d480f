// The interpreter's timer on the Qt event loop.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "core/vesktimer.h"

// A precise repeating QTimer. The core turns its timer off at the start of every
// tick and on again at the end; stopping and restarting the QTimer each time
// would cost a wake-up per tick, so "off" only suppresses the handler and the
// QTimer is stopped when it fires while off.
class TQtTimer final : public QObject, public TVeskTimer {
    Q_OBJECT
public:
    TQtTimer(int intervalMs, std::function<void()> handler, QObject* parent);
    void SetEnabled(bool enabled) override;
    [[nodiscard]] bool Enabled() const override { return _enabled; }

private:
    void Timeout();

    QTimer _timer;
    std::function<void()> _handler;
    bool _enabled = false;
};
