// TfMain: the pace of the paced run and the execution profile, both in «Вид».
#include "ui/mainwindow/main.h"

#include <QActionGroup>
#include <QMenu>

#include "ui/app/idesettings.h"
#include "ui/debugger/debugger.h"
#include "ui/debugger/profileview.h"
#include "ui/editor/codeeditor.h"
#include "ui/model/runcontroller.h"

namespace {

struct TPace {
    const char* name;
    const char* caption;
    int tickMs;
};

// From the usual pace, one operator a millisecond, down to one a learner can follow.
constexpr TPace kPaces[] = {
    {"nSpeedNormalItem", QT_TRANSLATE_NOOP("TfMain", "&Обычная: 1 мс на оператор"), 1},
    {"nSpeedMediumItem", QT_TRANSLATE_NOOP("TfMain", "&Средняя: 100 операторов в секунду"), 10},
    {"nSpeedSlowItem", QT_TRANSLATE_NOOP("TfMain", "&Медленная: 10 операторов в секунду"), 100},
    {"nSpeedSlowestItem", QT_TRANSLATE_NOOP("TfMain", "Очень м&едленная: 2 оператора в секунду"), 500},
};

} // namespace

void TfMain::BuildPaceMenus(QMenu* viewMenu)
{
    AddSeparator(viewMenu, "nSeparatorPace");
    auto* speed = new QMenu(tr("&Скорость"), viewMenu);
    speed->setObjectName(QStringLiteral("nSpeedItem"));
    speed->menuAction()->setObjectName(QStringLiteral("nSpeedItemAction"));
    viewMenu->addMenu(speed);
    auto* group = new QActionGroup(speed);
    for (const TPace& pace : kPaces) {
        QAction* item = speed->addAction(tr(pace.caption));
        item->setObjectName(QString::fromLatin1(pace.name));
        item->setCheckable(true);
        item->setData(pace.tickMs);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, ms = pace.tickMs] {
            _run->SetTickMs(ms);
            TIdeSettings().SetTickMs(ms);
        });
    }

    nProfileItem = AddItem(viewMenu, "nProfileItem", tr("Профиль &выполнения"), QKeySequence(),
                           &TfMain::nProfileItemClick, nullptr);
    nProfileItem->setCheckable(true);
    AddItem(viewMenu, "nProfileViewItem", tr("&Профиль..."), QKeySequence(),
            &TfMain::nProfileViewItemClick, nullptr);
}

void TfMain::BindPace()
{
    // The pace chosen last time; one the menu does not offer counts as the usual.
    const int ms = TIdeSettings().TickMs();
    QAction* chosen = findChild<QAction*>(QStringLiteral("nSpeedNormalItem"));
    for (const TPace& pace : kPaces) {
        if (pace.tickMs == ms)
            chosen = findChild<QAction*>(QString::fromLatin1(pace.name));
    }
    chosen->setChecked(true);
    _run->SetTickMs(chosen->data().toInt());
    connect(_debugger.get(), &TDebugger::ProfileShown, this, &TfMain::FillProfileView);
    // A run counts from its start or not at all: a choice made during one
    // applies from the next.
    connect(_run.get(), &TRunController::StateChanged, this, [this](TRunState state) {
        if (state == TRunState::rsIdle)
            _run->Core().SetProfiling(nProfileItem->isChecked());
    });
}

void TfMain::FillProfileView()
{
    if (!pProfileView)
        return;
    const QList<quint64>& lineSteps = mEditor->LineCounts();
    pProfileView->SetProfile(lineSteps, lineSteps.isEmpty()
                                            ? std::vector<std::pair<std::int32_t, std::uint64_t>>{}
                                            : _run->Core().Profile().CellWrites());
}

void TfMain::nProfileItemClick()
{
    // Counting starts with the next run: one going on was not counted from its
    // start, and its counts would not add up to its steps.
    const bool on = nProfileItem->isChecked();
    if (!on || !_run->Active())
        _run->Core().SetProfiling(on);
    if (!on)
        _debugger->ShowProfile();
}

void TfMain::nProfileViewItemClick()
{
    // Made when first asked for: the window opens with its docks as it always has.
    if (!pProfileView) {
        pProfileView = new TProfileView(this);
        pProfileView->setFont(InterfaceFont());
        addDockWidget(Qt::RightDockWidgetArea, pProfileView);
        FillProfileView();
    }
    pProfileView->show();
    pProfileView->raise();
}
