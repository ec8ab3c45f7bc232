// The plug-in as a host uses it: the export, a controller, the report form created,
// initialised with the host's parameters, shown and freed.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <string>

#include "platform/Machine.h"
#include "platform/OleAuto.h"
#include "plugin/include/MVAR52Controller.h"

namespace {

// A host application object that knows no messages and no settings.
class QuietHost : public ox::AutoObject {
 public:
  QuietHost() {
    AddMethod("GetMessage", 2, [](std::span<ox::Variant>) { return ox::Variant("text"); });
  }
};

void BM_PluginCreateShowAndFreeForm(benchmark::State& state) {
  void* plugin = dlopen((ox::RunningProgramFile().parent_path() / "MVAR52C.so").c_str(),
                        RTLD_NOW | RTLD_LOCAL);
  if (plugin == nullptr) {
    state.SkipWithError(dlerror());
    return;
  }
  auto getController =
      reinterpret_cast<ox::TDLLBaseController* (*)()>(dlsym(plugin, "GetController"));
  const ox::Variant params = ox::VarArrayOf({"tester", "C01", "DB01", 0, "reserved"});
  for (auto _ : state) {
    ox::TDLLBaseController* controller = getController();
    controller->ApplicationObject = ox::Variant(ox::DispatchPtr(new QuietHost()));
    if (controller->CreateForm(params) != 0) state.SkipWithError("CreateForm failed");
    controller->SetVisible(-1);
    controller->FreeForm();
    delete controller;
  }
  dlclose(plugin);
}
BENCHMARK(BM_PluginCreateShowAndFreeForm)->Unit(benchmark::kMillisecond);

}  // namespace
