// One refresh of the cells panel with 65,536 cells, offscreen: the model's
// comparison, the filter proxy and the repaint of the shown rows, for a
// refresh where every value changed and for one where none did.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/debugger/cellsmodel.h"
#include "ui/debugger/cellspanel.h"

namespace {

constexpr int kCells = 65536;
constexpr int kRounds = 50;

// Milliseconds of one refresh, the median of kRounds, the repaint included.
double RefreshMs(TCellsPanel& panel, const std::vector<std::u16string>& names,
                 std::vector<std::uint8_t>& values, bool change)
{
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        if (change) {
            for (auto& value : values)
                value = std::uint8_t(value + 1);
        }
        QElapsedTimer clock;
        clock.start();
        panel.Model().Refresh(names, values, round % kCells);
        panel.repaint();
        QCoreApplication::processEvents();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TCellsPanel panel;
    panel.resize(360, 600);
    panel.show();
    QCoreApplication::processEvents();

    std::vector<std::u16string> names;
    std::vector<std::uint8_t> values(kCells, 0);
    for (int i = 0; i < kCells; ++i)
        names.push_back(QStringLiteral("%1").arg(i, 4, 16, QLatin1Char('0')).toUpper().toStdU16String());

    QElapsedTimer clock;
    clock.start();
    panel.Model().Refresh(names, values, 0);
    QCoreApplication::processEvents();
    std::printf("first fill of %d cells: %.2f ms\n", kCells, double(clock.nsecsElapsed()) / 1e6);
    panel.Model().SettleChanges();

    std::printf("refresh, every cell changed: %.2f ms (median of %d)\n",
                RefreshMs(panel, names, values, true), kRounds);
    TCellsModel bare;
    bare.Refresh(names, values, 0);
    bare.SettleChanges();
    QElapsedTimer modelClock;
    modelClock.start();
    for (int round = 0; round < kRounds; ++round) {
        for (auto& value : values)
            value = std::uint8_t(value + 1);
        bare.Refresh(names, values, 0);
    }
    std::printf("the model alone, every cell changed: %.2f ms (mean of %d)\n",
                double(modelClock.nsecsElapsed()) / 1e6 / kRounds, kRounds);
    std::printf("refresh, nothing changed: %.2f ms (median of %d)\n",
                RefreshMs(panel, names, values, false), kRounds);
    return 0;
}
