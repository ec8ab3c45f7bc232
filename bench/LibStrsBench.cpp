// Timings of the LibStrs paths that run over whole jobs and long texts.
#include <benchmark/benchmark.h>

#include <string>

#include "lib/LibStrs.h"
#include "platform/CodePage.h"
#include "platform/DateTime.h"
#include "platform/Machine.h"

namespace ox {
namespace {

constexpr int kLists = 100;
constexpr int kTextsPerList = 100;

// The machine of a GB Windows, for the whole run of one benchmark.
MachineSettings GbMachine() {
  MachineSettings settings = MachineFromEnvironment();
  settings.ansiCodePage = 936;
  return settings;
}

// A job value of 10,000 GB texts: 100 nested lists of 100 texts each.
Variant NarrowJob() {
  Variant job = VarArrayCreate({0, kLists - 1});
  const std::string text = Gb("材料差异汇总表");
  for (int i = 0; i < kLists; ++i) {
    Variant list = VarArrayCreate({0, kTextsPerList - 1});
    for (int j = 0; j < kTextsPerList; ++j)
      list[j] = text + std::to_string(i * kTextsPerList + j);
    job[i] = list;
  }
  return job;
}

void BM_WidenJob(benchmark::State& state) {
  MachineScope machine(GbMachine());
  const Variant job = NarrowJob();
  for (auto _ : state)
    benchmark::DoNotOptimize(OxStrToWideString(job, 936));
  state.SetItemsProcessed(state.iterations() * kLists * kTextsPerList);
}
BENCHMARK(BM_WidenJob)->Unit(benchmark::kMillisecond);

void BM_NarrowJob(benchmark::State& state) {
  MachineScope machine(GbMachine());
  const Variant job = OxStrToWideString(NarrowJob(), 936);
  for (auto _ : state)
    benchmark::DoNotOptimize(OxWideStringToStr(job, 936));
  state.SetItemsProcessed(state.iterations() * kLists * kTextsPerList);
}
BENCHMARK(BM_NarrowJob)->Unit(benchmark::kMillisecond);

// About 1 MB of comma-separated pieces, half of them GB texts.
std::string LongText(int& pieces) {
  std::string text;
  const std::string gb = Gb("料号");
  for (pieces = 0; text.size() < (1 << 20); ++pieces)
    text += (pieces % 2 ? gb : std::string("item")) + std::to_string(pieces) + ",";
  return text;
}

// Fetches the first, the middle or the last piece: the search runs over that much text.
void BM_GetTokenOver1MB(benchmark::State& state) {
  MachineScope machine(GbMachine());
  int pieces = 0;
  const std::string text = LongText(pieces);
  const int index = std::max(1, static_cast<int>(pieces * state.range(0) / 100));
  for (auto _ : state)
    benchmark::DoNotOptimize(GetToken(text, ",", index));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()) *
                          state.range(0) / 100);
}
BENCHMARK(BM_GetTokenOver1MB)->Arg(0)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);

// The first run from every day of 2024, for the period chosen by the argument.
void BM_ScheduleOverAYear(benchmark::State& state) {
  const Variant periods[] = {
      VarArrayOf({1, VarArrayOf({1, 2})}),        // weekly on Tuesday
      VarArrayOf({2, VarArrayOf({0, 1, 31})}),    // monthly on day 31
      VarArrayOf({2, VarArrayOf({1, 1, 4, 5})}),  // monthly on the last Friday
  };
  const Variant& period = periods[state.range(0)];
  const TDateTime first = EncodeDate(2024, 1, 1);
  for (auto _ : state)
    for (int day = 0; day < 366; ++day)
      benchmark::DoNotOptimize(ClientScheduleDate(DateToString(first + day, 1, ""), period));
  state.SetItemsProcessed(state.iterations() * 366);
}
BENCHMARK(BM_ScheduleOverAYear)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ox
