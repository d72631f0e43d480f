// Checks a label of a fixed-layout window: found by name, at its place, in the
// label colour every window shares.
#pragma once

#include <QLabel>
#include <QTest>

#include "ui/app/style.h"

inline void CheckPlacedLabel(const QWidget& window, const char* name, QPoint pos)
{
    const auto* label = window.findChild<QLabel*>(QLatin1String(name));
    QVERIFY2(label, name);
    QCOMPARE(label->pos(), pos);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(73, 73, 73));
}
