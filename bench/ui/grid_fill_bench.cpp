// Filling the grid as the Values page does: redraw off, delete all rows, add
// 100,000 rows of six cells set by column title, redraw on, select row 0 and
// paint. Target: under 200 ms per fill. And the same rows by number with a
// cell source, whose texts are made only for the rows painted.

#include "ui/controls/Grid.h"

#include <QApplication>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace {

constexpr int kRows = 100'000;
const std::array<QString, 6> kColumns = {"Date", "Time", "Item Name", "Value", "Unit Name", "Notes"};

void SetUpGrid(orv::Grid& grid) {
    const std::array<int, 6> widths = {70, 70, 100, 70, 100, 100};
    for (std::size_t i = 0; i < kColumns.size(); ++i) grid.addColumn(kColumns[i], widths[i]);
    grid.setAlternatingRowColors(0xF0F0F0, 0xE6E6E6);
    grid.resize(800, 600);
    grid.show();
}

void FinishFill(orv::Grid& grid) {
    grid.setRedraw(true);
    grid.selectRow(0);
    grid.view()->viewport()->repaint();
}

// Texts made beforehand: measures the grid alone.
void BM_GridFill100kPreparedTexts(benchmark::State& state) {
    orv::Grid grid;
    SetUpGrid(grid);
    std::vector<std::array<QString, 6>> texts(kRows);
    for (int i = 0; i < kRows; ++i) {
        texts[static_cast<std::size_t>(i)] = {QString::asprintf("%02d/%02d/2008", 1 + i % 12, 1 + i % 28),
                                              QString::asprintf("%02d:%02d:%02d", i % 24, i % 60, (i * 7) % 60),
                                              QStringLiteral("Item %1").arg(i % 300),
                                              QString::asprintf("%0.5f", i * 0.25),
                                              QStringLiteral("mg/dL"),
                                              QStringLiteral("note %1").arg(i)};
    }
    for (auto _ : state) {
        grid.setRedraw(false);
        grid.deleteAllRows();
        for (int i = 0; i < kRows; ++i) {
            const int row = grid.addRow();
            const auto& cells = texts[static_cast<std::size_t>(i)];
            for (std::size_t c = 0; c < cells.size(); ++c) grid.setCell(row, kColumns[c], cells[c]);
            grid.setRowNumber(row, i + 1);
        }
        FinishFill(grid);
    }
    state.counters["rows"] = grid.rowCount();
}
BENCHMARK(BM_GridFill100kPreparedTexts)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Texts formatted while filling, as a page does from its records.
void BM_GridFill100kFormattingTexts(benchmark::State& state) {
    orv::Grid grid;
    SetUpGrid(grid);
    const QString unit = QStringLiteral("mg/dL");
    for (auto _ : state) {
        grid.setRedraw(false);
        grid.deleteAllRows();
        for (int i = 0; i < kRows; ++i) {
            const int row = grid.addRow();
            grid.setCell(row, QStringLiteral("Date"), QString::asprintf("%02d/%02d/2008", 1 + i % 12, 1 + i % 28));
            grid.setCell(row, QStringLiteral("Time"),
                         QString::asprintf("%02d:%02d:%02d", i % 24, i % 60, (i * 7) % 60));
            grid.setCell(row, QStringLiteral("Item Name"), QStringLiteral("Item %1").arg(i % 300));
            grid.setCell(row, QStringLiteral("Value"), QString::asprintf("%0.5f", i * 0.25));
            grid.setCell(row, QStringLiteral("Unit Name"), unit);
            grid.setCell(row, QStringLiteral("Notes"), QStringLiteral("note %1").arg(i));
            grid.setRowNumber(row, i + 1);
        }
        FinishFill(grid);
    }
    state.counters["rows"] = grid.rowCount();
}
BENCHMARK(BM_GridFill100kFormattingTexts)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Rows by number with texts made only when drawn, as the Values page fills.
void BM_GridFill100kCellSource(benchmark::State& state) {
    orv::Grid grid;
    SetUpGrid(grid);
    grid.setCellSource([](int number, int column) { return QStringLiteral("%1/%2").arg(number).arg(column); });
    std::vector<int> numbers(kRows);
    for (int i = 0; i < kRows; ++i) numbers[static_cast<std::size_t>(i)] = i + 1;
    for (auto _ : state) {
        grid.setRedraw(false);
        grid.deleteAllRows();
        grid.appendRows(numbers);
        FinishFill(grid);
    }
    state.counters["rows"] = grid.rowCount();
}
BENCHMARK(BM_GridFill100kCellSource)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The formatting of the previous benchmark without any grid: what a page
// spends on its texts, to be subtracted when judging the grid.
void BM_Format100kRowsOfTextsOnly(benchmark::State& state) {
    std::vector<QString> sink(6);
    for (auto _ : state) {
        for (int i = 0; i < kRows; ++i) {
            sink[0] = QString::asprintf("%02d/%02d/2008", 1 + i % 12, 1 + i % 28);
            sink[1] = QString::asprintf("%02d:%02d:%02d", i % 24, i % 60, (i * 7) % 60);
            sink[2] = QStringLiteral("Item %1").arg(i % 300);
            sink[3] = QString::asprintf("%0.5f", i * 0.25);
            sink[5] = QStringLiteral("note %1").arg(i);
            benchmark::DoNotOptimize(sink.data());
        }
    }
}
BENCHMARK(BM_Format100kRowsOfTextsOnly)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's notices about window operations it lacks
    // would interleave with the results table.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
