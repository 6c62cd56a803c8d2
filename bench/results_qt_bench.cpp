// The result operations on the Qt frontend's list (offscreen platform) with
// 100,000 rows: the header sorts, a filter pass that keeps half, export and
// import.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/result_sort.h"
#include "qt_ui.h"
#include "results/filter_window.h"
#include "results/result_files.h"
#include "results/result_list.h"
#include "results/result_saving.h"
#include "runtime/convert.h"
#include "result_rows.h"
#include "runtime/files.h"

namespace zelvo {
namespace {

constexpr WindowId kMain = WindowId::Main;

qt::QtUi* port = nullptr;

using bench::randomRow;

void fillList(int rows, unsigned seed) {
    UiPort& ui = *port;
    ui.ListClear(kMain, kResultList);
    std::mt19937 random(seed);
    for (int r = 0; r < rows; ++r) {
        const auto cells = randomRow(random, r + 1);
        const int row = ui.ListInsert(kMain, kResultList);
        for (int c = 0; c < 6; ++c) {
            ui.ListSetText(kMain, kResultList, row, c, cells[static_cast<std::size_t>(c)]);
        }
    }
    QCoreApplication::processEvents();
}

void sortList(benchmark::State& state, int column, SortKind kind) {
    unsigned seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        fillList(static_cast<int>(state.range(0)), seed++);
        port->ListSetCurrentRow(kMain, kResultList, 7);
        state.ResumeTiming();
        sortResultList(*port, column, kind, true);
        QCoreApplication::processEvents();  // the repaint that follows
    }
}
void BM_QtSortByNumber(benchmark::State& state) { sortList(state, 1, SortKind::Numeric); }
void BM_QtSortByDepartureTime(benchmark::State& state) { sortList(state, 2, SortKind::DateTime); }
BENCHMARK(BM_QtSortByNumber)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtSortByDepartureTime)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_QtFilterPassKeepingHalf(benchmark::State& state) {
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    port->LoadWindow(WindowId::Filter, false);
    port->SetText(WindowId::Filter, "起点", "北京");
    for (std::string_view picker : {"发货时间始", "收货时间始"}) {
        port->SetDateValue(WindowId::Filter, picker, MakeDateTime(2011, 1, 1));
    }
    for (auto _ : state) {
        state.PauseTiming();
        fillList(static_cast<int>(state.range(0)), 1);
        port->AnswerNextMessageBox(0);
        state.ResumeTiming();
        filterResults(*port);
        QCoreApplication::processEvents();
    }
    state.counters["kept"] = port->ListCount(kMain, kResultList);
    port->CloseWindow(WindowId::Filter);
    QDir::setCurrent(previous);
}
BENCHMARK(BM_QtFilterPassKeepingHalf)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_QtExport(benchmark::State& state) {
    QTemporaryDir folder;
    fillList(static_cast<int>(state.range(0)), 1);
    for (auto _ : state) {
        port->AnswerNextBrowse(folder.path().toStdString());
        exportResultList(*port);
    }
}
BENCHMARK(BM_QtExport)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_QtImport(benchmark::State& state) {
    QTemporaryDir folder;
    std::mt19937 random(1);
    ResultTable rows;
    for (int r = 0; r < state.range(0); ++r) rows.push_back(randomRow(random, r + 1));
    const std::string path = folder.path().toStdString() + "/saved.txt";
    const std::string text = composeResultFile(rows);
    WriteFileBytes(path, {AsBytes(text)});
    for (auto _ : state) {
        port->AnswerNextBrowse(path);
        importResultList(*port);
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = port->ListCount(kMain, kResultList);
}
BENCHMARK(BM_QtImport)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zelvo

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    zelvo::qt::QtUi ui;
    zelvo::port = &ui;
    ui.LoadWindow(zelvo::WindowId::Main, false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
