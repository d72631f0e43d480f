// The profile of the last run at a glance: the lines that took the most steps
// and the cells stored into most often.
#pragma once

#include <QDockWidget>
#include <QList>
#include <utility>
#include <vector>

#include <cstdint>

class QTableWidget;

class TProfileView final : public QDockWidget {
    Q_OBJECT
public:
    explicit TProfileView(QWidget* parent = nullptr);

    // Rows shown in each table.
    static constexpr int kRows = 20;

    // Steps by 0-based editor line, and (address code, stores) of the cells;
    // each table takes the largest, largest first.
    void SetProfile(const QList<quint64>& lineSteps,
                    const std::vector<std::pair<std::int32_t, std::uint64_t>>& cellWrites);

    [[nodiscard]] QTableWidget* Lines() const { return _lines; }
    [[nodiscard]] QTableWidget* Cells() const { return _cells; }

private:
    QTableWidget* _lines;
    QTableWidget* _cells;
};
