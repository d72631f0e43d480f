// The main window tests' look into the results window a finished run opens.
#pragma once

#include <QLabel>
#include <vector>

#include "formats/results.h"
#include "mainfixture.h"
#include "modalhelper.h"
#include "ui/results/results.h"

// What the results window showed while it was open.
struct TResultsSeen {
    std::vector<TResultRow> rows;
    QString time;
    QString steps;
    QString expectedTime;
    QString controls;
    bool changedByHand = false; // the line saying so shows
};

inline void InspectResults(TModalScript& script, const TfMain& window, TResultsSeen& seen)
{
    script.Then([&window, &seen](QWidget* modal) {
        auto* results = qobject_cast<TfResults*>(modal);
        if (!results) {
            TModalScript::Dismiss(modal);
            return;
        }
        seen.rows = results->Rows();
        seen.time = Child<QLabel>(*results, "lTime")->text();
        seen.steps = Child<QLabel>(*results, "lStepsCount")->text();
        seen.expectedTime = QString::fromStdU16String(TimeText(window.Core()->EndTime()));
        seen.controls = RunControls(window);
        seen.changedByHand = Child<QLabel>(*results, "lByHandLabel")->isVisible();
        results->reject();
    });
}
