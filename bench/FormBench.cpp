// Creating and freeing a form of 300 components from its form resource.
#include <benchmark/benchmark.h>

#include <string>

#include "ui/FormReader.h"
#include "ui/Forms.h"

namespace {

// A form with 100 panels, each holding a label and an edit: 300 components.
std::string LargeFormResource() {
  std::string text = "object frmLarge: TForm\n  Width = 800\n  Height = 600\n";
  for (int i = 0; i < 100; ++i) {
    const std::string n = std::to_string(i);
    text += "  object pnl" + n + ": TPanel\n    Top = " + std::to_string(i * 30) +
            "\n    Width = 400\n    Height = 28\n    object lbl" + n +
            ": TLabel\n      Left = 4\n      Caption = 'Label " + n + "'\n    end\n    object ed" +
            n +
            ": TEdit\n      Left = 100\n      Width = 200\n      Text = 'value'\n"
            "      TabOrder = 0\n    end\n  end\n";
  }
  return text + "end\n";
}

void BM_CreateAndFreeFormOf300Components(benchmark::State& state) {
  const std::string resource = LargeFormResource();
  for (auto _ : state) {
    ox::Owned<ox::TComponent> form = ox::CreateComponentFromResource(resource, nullptr);
    benchmark::DoNotOptimize(form.get());
  }
  state.SetItemsProcessed(state.iterations() * 300);
}
BENCHMARK(BM_CreateAndFreeFormOf300Components)->Unit(benchmark::kMillisecond);

void BM_CreateShowAndFreeFormOf300Components(benchmark::State& state) {
  const std::string resource = LargeFormResource();
  for (auto _ : state) {
    ox::Owned<ox::TComponent> form = ox::CreateComponentFromResource(resource, nullptr);
    static_cast<ox::TForm*>(form.get())->Show();  // handles are made on showing
  }
}
BENCHMARK(BM_CreateShowAndFreeFormOf300Components)->Unit(benchmark::kMillisecond);

}  // namespace
