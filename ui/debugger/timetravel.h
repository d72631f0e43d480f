// Going back in a run from the window: the history the core records, the
// commands that go back (a step, to the previous breakpoint stop, over and out
// of loops and blocks), the timeline under the editor and the question where a
// cell's value came from. It acts only while the run is paused or halted.
#pragma once

#include <QObject>
#include <QSlider>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

#include "core/runhistory.h"

class TCellsPanel;
class TDebugger;
class TVeskCore;

// The slider from step 0 to the latest step, with the breakpoint stops and the
// error marked under its groove.
class TTimeline final : public QSlider {
    Q_OBJECT
public:
    explicit TTimeline(QWidget* parent = nullptr);
    // Marks at these values; errors in red.
    void SetMarks(std::vector<int> stops, std::vector<int> errors);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<int> _stops;
    std::vector<int> _errors;
};

class TTimeTravel final : public QObject {
    Q_OBJECT
public:
    // `halted` tells whether the window holds a paused or finished run that may be travelled.
    TTimeTravel(TVeskCore& core, TDebugger& debugger, TCellsPanel& panel, TTimeline& timeline,
                std::function<bool()> halted, std::size_t budget = TRunHistory::kDefaultBudget,
                QObject* parent = nullptr);
    ~TTimeTravel() override;

    // The core's events, after the debugger's.
    void RunStarted();
    void RunPaused();
    void RunHalted(bool error);

    void StepBack();
    void RunBack();
    void StepBackOver();
    void StepBackOut();
    // For the cell selected in the panel: its last writer, and a question
    // whether to go back to it.
    void WhereFrom();

    [[nodiscard]] TRunHistory& History() { return _history; }

signals:
    // A line for the status bar.
    void Message(const QString& text);
    // The run now stands at an earlier moment, paused there.
    void Travelled();

private:
    // Runs a move back and shows where it landed.
    void Travel(const std::function<bool()>& move);
    void Shown();
    void UpdateTimeline();
    void TimelineMoved(int value);
    void ShowDragged();
    // Slider positions for steps: the slider's range is an int.
    [[nodiscard]] int ToSlider(std::uint64_t step) const;
    [[nodiscard]] std::uint64_t FromSlider(int value) const;

    TVeskCore& _core;
    TDebugger& _debugger;
    TCellsPanel& _panel;
    TTimeline& _timeline;
    std::function<bool()> _halted;
    TRunHistory _history;
    QTimer _drag;          // shows a dragged moment at display rate
    bool _updating = false;
};
