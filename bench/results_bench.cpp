// The results window at its largest, offscreen: 65,536 cells (every address),
// named in mixed letter case and in shuffled creation order. Prints the time
// from the finished run's cells to a painted window, and the time of each
// header click's sort.
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTreeView>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "formats/results.h"
#include "ui/results/results.h"
#include "ui/app/style.h"

namespace {

constexpr int kCells = 65536;
constexpr double kOpenGoalMs = 300;
constexpr double kSortGoalMs = 100;

struct TCells {
    std::vector<std::u16string> names;
    std::vector<std::uint8_t> values;
};

// Every four-digit address once, letters in random case, in random order.
TCells MakeCells()
{
    std::mt19937 random(20260);
    std::vector<int> addresses(kCells);
    for (int i = 0; i < kCells; ++i)
        addresses[std::size_t(i)] = i;
    std::shuffle(addresses.begin(), addresses.end(), random);
    static constexpr char16_t kLower[] = u"0123456789abcdef";
    static constexpr char16_t kUpper[] = u"0123456789ABCDEF";
    TCells cells;
    for (int address : addresses) {
        std::u16string name;
        for (int shift = 12; shift >= 0; shift -= 4) {
            const int digit = (address >> shift) & 0xF;
            name += (random() & 1) != 0 ? kUpper[digit] : kLower[digit];
        }
        cells.names.push_back(name);
        cells.values.push_back(std::uint8_t(random()));
    }
    return cells;
}

void WaitUntilPainted(QWidget& window)
{
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
}

double Ms(const QElapsedTimer& clock) { return double(clock.nsecsElapsed()) / 1e6; }

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    ApplyApplicationStyle(app);
    const TCells cells = MakeCells();
    {
        // In the IDE the main window is up by then: the platform, the style
        // and the fonts are loaded before any results window opens.
        QTreeView shown;
        shown.show();
        WaitUntilPainted(shown);
    }

    // As the finish handler does it: rows from the cells, the labels, then show.
    QElapsedTimer clock;
    clock.start();
    TfResults window;
    std::vector<TResultRow> rows;
    rows.reserve(cells.names.size());
    for (std::size_t i = 0; i < cells.names.size(); ++i)
        rows.push_back(MakeResultRow(cells.names[i], cells.values[i]));
    window.AddRows(std::move(rows));
    window.SetTimeText(QString::fromStdU16String(TimeText(1.05 / 86400)));
    window.SetStepsCount(1234567);
    window.show();
    WaitUntilPainted(window);
    const double openMs = Ms(clock);
    std::printf("results window of %d cells: open %.1f ms (goal under %.0f ms)\n", kCells, openMs,
                kOpenGoalMs);

    QHeaderView* header = window.findChild<QTreeView*>(QStringLiteral("lVariablesList"))->header();
    const struct {
        int column;
        const char* what;
    } clicks[] = {{0, "address, descending"}, {0, "address, ascending"}, {1, "value, ascending"},
                  {1, "value, descending"},   {3, "value, ascending"}};
    double worstMs = 0;
    for (const auto& click : clicks) {
        clock.restart();
        emit header->sectionClicked(click.column);
        QCoreApplication::processEvents();
        const double ms = Ms(clock);
        worstMs = std::max(worstMs, ms);
        std::printf("sort of %d rows by %s: %.1f ms\n", kCells, click.what, ms);
    }
    std::printf("slowest sort: %.1f ms (goal under %.0f ms)\n", worstMs, kSortGoalMs);
    return 0;
}
