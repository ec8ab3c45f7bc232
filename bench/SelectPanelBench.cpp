// Filling a selection panel's list: 10,000 rows of three columns, kept sorted, checked
// for duplicates ignoring case and with the columns sized to their texts after each row.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "controls/SelectPnl.h"

namespace {

// Work order codes in a scattered order, so that rows land all over the sorted list;
// `repeatEvery` > 0 makes every such row repeat an earlier code in other letter case.
std::vector<std::vector<std::string>> Rows(int count, int repeatEvery) {
  std::vector<std::vector<std::string>> rows;
  rows.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const int code = (i * 7919) % count;
    std::string first = "wo" + std::to_string(code);
    if (repeatEvery > 0 && i % repeatEvery == repeatEvery - 1) first = "WO" + std::to_string(i / 2);
    rows.push_back({first, "Material " + std::to_string(i % 97), std::to_string(i * 3 % 1000)});
  }
  return rows;
}

void AddRows(benchmark::State& state, int repeatEvery) {
  const auto rows = Rows(static_cast<int>(state.range(0)), repeatEvery);
  for (auto _ : state) {
    ox::Owned<ox::TSelectPanel> panel{new ox::TSelectPanel(nullptr)};
    panel->SetStyle(ox::TSelectStyle::sp_Discrete);
    panel->SetCheckDuplicate(ox::TCheckDuplicate::cd_CaseInsensitive);
    for (const auto& row : rows)
      panel->AddItem(row);
    benchmark::DoNotOptimize(panel->Items()->Count());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SelectPanelAddDistinctRows(benchmark::State& state) {
  AddRows(state, 0);
}
BENCHMARK(BM_SelectPanelAddDistinctRows)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SelectPanelAddRowsWithDuplicates(benchmark::State& state) {
  AddRows(state, 2);
}
BENCHMARK(BM_SelectPanelAddRowsWithDuplicates)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
