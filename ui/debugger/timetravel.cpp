#include "ui/debugger/timetravel.h"

#include <QMessageBox>
#include <QPushButton>
#include <QPainter>
#include <QStyleOptionSlider>
#include <algorithm>
#include <limits>

#include "core/cellmemory.h"
#include "core/veskcore.h"
#include "ui/debugger/cellspanel.h"
#include "ui/debugger/debugger.h"

namespace {

constexpr int kSliderSteps = std::numeric_limits<int>::max();

} // namespace

// ---- the timeline --------------------------------------------------------------

TTimeline::TTimeline(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setObjectName(QStringLiteral("sTimeline"));
    setRange(0, 0);
    setEnabled(false);
    // Shown once a run has a history to go back in: until then the window keeps its layout.
    hide();
    setToolTip(tr("Шкала времени выполнения"));
}

void TTimeline::SetMarks(std::vector<int> stops, std::vector<int> errors)
{
    _stops = std::move(stops);
    _errors = std::move(errors);
    update();
}

void TTimeline::paintEvent(QPaintEvent* event)
{
    QSlider::paintEvent(event);
    if ((_stops.empty() && _errors.empty()) || maximum() <= minimum())
        return;
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    QPainter painter(this);
    const auto mark = [&](int value, const QColor& color) {
        const int x = QStyle::sliderPositionFromValue(minimum(), maximum(), value, groove.width()) + groove.left();
        painter.fillRect(QRect(x - 1, groove.bottom() - 1, 3, height() - groove.bottom()), color);
    };
    for (const int value : _stops)
        mark(value, QColor(0, 90, 200));
    for (const int value : _errors)
        mark(value, Qt::red);
}

// ---- travelling --------------------------------------------------------------

TTimeTravel::TTimeTravel(TVeskCore& core, TDebugger& debugger, TCellsPanel& panel, TTimeline& timeline,
                         std::function<bool()> halted, std::size_t budget, QObject* parent)
    : QObject(parent), _core(core), _debugger(debugger), _panel(panel), _timeline(timeline),
      _halted(std::move(halted)), _history(budget)
{
    _core.AttachHistory(&_history);
    _drag.setSingleShot(true);
    _drag.setInterval(1000 / TDebugger::kDisplayRate);
    connect(&_drag, &QTimer::timeout, this, &TTimeTravel::ShowDragged);
    connect(&_timeline, &QSlider::valueChanged, this, &TTimeTravel::TimelineMoved);
    connect(&_timeline, &QSlider::sliderReleased, this, &TTimeTravel::ShowDragged);
}

TTimeTravel::~TTimeTravel()
{
    _core.AttachHistory(nullptr);
}

void TTimeTravel::RunStarted()
{
    _drag.stop();
    _timeline.setEnabled(false);
}

void TTimeTravel::RunPaused()
{
    _history.NoteLive(_core);
    const TVeskCore::TPauseCause cause = _core.LastPauseCause();
    const bool stop = cause == TVeskCore::TPauseCause::pcBreakpoint || cause == TVeskCore::TPauseCause::pcWatchpoint;
    if (stop && _core.Step() == _history.Latest())
        _history.NoteStop(_core.Step(), false);
    UpdateTimeline();
}

void TTimeTravel::RunHalted(bool error)
{
    _history.NoteLive(_core);
    if (error)
        _history.NoteStop(_core.Step(), true);
    UpdateTimeline();
}

int TTimeTravel::ToSlider(std::uint64_t step) const
{
    const std::uint64_t latest = _history.Latest();
    if (latest <= static_cast<std::uint64_t>(kSliderSteps))
        return static_cast<int>(step);
    return static_cast<int>(static_cast<double>(step) / static_cast<double>(latest) * kSliderSteps);
}

std::uint64_t TTimeTravel::FromSlider(int value) const
{
    const std::uint64_t latest = _history.Latest();
    if (latest <= static_cast<std::uint64_t>(kSliderSteps))
        return static_cast<std::uint64_t>(value);
    return static_cast<std::uint64_t>(static_cast<double>(value) / kSliderSteps * static_cast<double>(latest));
}

void TTimeTravel::UpdateTimeline()
{
    _updating = true;
    if (_history.Latest() > _history.First())
        _timeline.show();
    _timeline.setEnabled(!_history.Empty() && _halted());
    _timeline.setRange(ToSlider(_history.First()), ToSlider(_history.Latest()));
    _timeline.setValue(ToSlider(_core.Step()));
    std::vector<int> stops;
    std::vector<int> errors;
    for (const TRunHistory::TStop& stop : _history.Stops())
        (stop.error ? errors : stops).push_back(ToSlider(stop.step));
    _timeline.SetMarks(std::move(stops), std::move(errors));
    _updating = false;
}

void TTimeTravel::TimelineMoved(int)
{
    if (_updating || !_halted())
        return;
    // Dragging shows the moment at display rate; a click or a key at once.
    if (_timeline.isSliderDown()) {
        if (!_drag.isActive())
            _drag.start();
        return;
    }
    ShowDragged();
}

void TTimeTravel::ShowDragged()
{
    if (!_halted())
        return;
    const std::uint64_t step = FromSlider(_timeline.value());
    if (step == _core.Step())
        return;
    if (_history.GoTo(_core, step))
        Shown();
}

void TTimeTravel::Travel(const std::function<bool()>& move)
{
    if (!_halted() || _core.IsRun())
        return;
    if (move())
        Shown();
}

void TTimeTravel::Shown()
{
    _debugger.ShowMoment();
    emit Travelled();
    _updating = true;
    _timeline.setValue(ToSlider(_core.Step()));
    _updating = false;
}

void TTimeTravel::StepBack()
{
    Travel([this] { return _history.StepBack(_core); });
}

void TTimeTravel::RunBack()
{
    Travel([this] { return _history.RunBack(_core); });
}

void TTimeTravel::StepBackOver()
{
    Travel([this] { return _history.StepBackOver(_core); });
}

void TTimeTravel::StepBackOut()
{
    Travel([this] { return _history.StepBackOut(_core); });
}

void TTimeTravel::WhereFrom()
{
    if (!_halted() || _core.IsRun())
        return;
    QString address = _panel.SelectedAddress();
    if (address.startsWith(u'$'))
        address.remove(0, 1);
    const std::int32_t code = TCellMemory::CodeOf(address.toStdU16String());
    if (code < 0) {
        emit Message(tr("Выберите ячейку в панели «Ячейки»."));
        return;
    }
    const std::optional<TRunHistory::TOrigin> origin = _history.WhereFrom(_core, code);
    if (!origin) {
        emit Message(tr("Ячейка %1 не записывалась до этого шага.").arg(address));
        return;
    }
    QString text;
    if (origin->byHand) {
        text = tr("Ячейка %1 изменена вручную на шаге %2.").arg(address).arg(origin->step);
    } else {
        text = tr("Ячейка %1 записана на шаге %2: строка %3, символ %4, оператор %5.")
                   .arg(address)
                   .arg(origin->step)
                   .arg(origin->line + 1)
                   .arg(origin->column)
                   .arg(QString::fromStdU16String(origin->text));
        if (origin->source >= 0)
            text += u' ' + tr("Значение взято из ячейки %1.").arg(QString::number(origin->source, 16).rightJustified(4, u'0').toUpper());
    }
    emit Message(text);
    QMessageBox box(QMessageBox::Information, tr("Откуда это значение"), text, QMessageBox::NoButton,
                    _timeline.window());
    QPushButton* back = box.addButton(tr("Перейти к этому шагу"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Close);
    box.exec();
    // Back to where the writing operator is the next one; a change by hand is that moment itself.
    const std::uint64_t target = origin->byHand || origin->step == 0 ? origin->step : origin->step - 1;
    if (box.clickedButton() == back)
        Travel([this, target] { return _history.GoTo(_core, target); });
}
