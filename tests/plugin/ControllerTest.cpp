// A host built against the controller header loads the built plug-in with dlopen, finds
// GetController by name and drives the report form through the controller alone, the
// way the ERP client does. The host shares only the platform library with the plug-in:
// it sees the form through its window handle and the host application object.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Machine.h"
#include "platform/OleAuto.h"
#include "platform/WinMessages.h"
#include "plugin/include/MVAR52Controller.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

// The host application object: answers message texts and records which were asked.
class HostApplication : public AutoObject {
 public:
  HostApplication() {
    AddMethod("GetMessage", 2, [this](std::span<Variant> args) {
      asked.push_back(args[0].asString() + ";" + args[1].asString());
      return Variant("text of " + args[0].asString() + args[1].asString());
    });
    AddMethod("VersionType", 0, [](std::span<Variant>) { return Variant(1); });
    AddMethod("ProductID", 0, [](std::span<Variant>) { return Variant(3); });
    AddMethod("Com_Counter", 0, [](std::span<Variant>) { return Variant(); });
    AddMethod("Com_Validator", 0, [](std::span<Variant>) { return Variant(); });
  }
  std::vector<std::string> asked;
};

// The plug-in, opened by its file name beside the test programs.
class Plugin {
 public:
  Plugin() {
    const std::string path = (RunningProgramFile().parent_path() / "MVAR52C.so").string();
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) throw Exception(std::string("dlopen: ") + dlerror());
    getController_ = reinterpret_cast<TDLLBaseController* (*)()>(dlsym(handle_, "GetController"));
  }
  ~Plugin() { dlclose(handle_); }
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  TDLLBaseController* GetController() const { return getController_(); }
  bool Exports() const { return getController_ != nullptr; }

 private:
  void* handle_ = nullptr;
  TDLLBaseController* (*getController_)() = nullptr;
};

struct Events {
  std::vector<int> codes;
  static void Note(void* data, std::int32_t code, TDLLBaseController*) {
    static_cast<Events*>(data)->codes.push_back(code);
  }
};

class ControllerTest : public ::testing::Test {
 protected:
  ControllerTest() {
    controller->ApplicationObject = Variant(DispatchPtr(host));
    controller->OnEvent = {&Events::Note, &events};
  }
  ~ControllerTest() override { delete controller; }

  static Variant HostParams(int count) {
    const Variant all[] = {"tester", "C01", "DB01", 0, "reserved"};
    Variant params = VarArrayCreate({0, count - 1});
    for (int i = 0; i < count; ++i)
      params[i] = all[i];
    return params;
  }
  void PumpMessages() { ProcessMessages(); }

  test::TestMachine machine{936};
  Plugin plugin;
  TDLLBaseController* controller = plugin.GetController();
  HostApplication* host = new HostApplication();
  Events events;
};

TEST_F(ControllerTest, WithoutAFormEveryOperationIsHarmless) {
  ASSERT_TRUE(plugin.Exports());
  std::u16string version = u"unchanged";
  controller->GetVersion(version);
  EXPECT_EQ(version, u"unchanged");
  EXPECT_EQ(controller->GetVisible(), 0);
  EXPECT_EQ(controller->GetHandle(), 0);
  Variant result;
  controller->ShowFormModal(result);
  EXPECT_EQ(result.asInteger(), 2);
  Variant info = "untouched";
  EXPECT_EQ(controller->GetInfo(info), -1);
  EXPECT_EQ(info.asString(), "untouched");
  EXPECT_EQ(controller->Execute(VarArrayOf({0, 1})), -1);
  EXPECT_EQ(controller->Notify(5, Variant()), -1);
  EXPECT_TRUE(controller->IsFormFreed());
  controller->SetVisible(-1);
  controller->FreeForm();
  controller->SignalHost();
  EXPECT_EQ(events.codes, (std::vector<int>{320}));
}

TEST_F(ControllerTest, FourHostParametersCloseTheFormAndFail) {
  EXPECT_EQ(controller->CreateForm(HostParams(4)), -1);
  EXPECT_EQ(host->asked, (std::vector<std::string>{"E;000038", "E;000038", "E;000006"}));
  EXPECT_EQ(events.codes, (std::vector<int>{256}));
  PumpMessages();  // the posted close frees the form
  EXPECT_TRUE(controller->IsFormFreed());
  EXPECT_EQ(events.codes, (std::vector<int>{256, 304}));
  EXPECT_EQ(controller->ResultCode, 0);
}

TEST_F(ControllerTest, AFormIsCreatedShownDrivenAndCancelled) {
  ASSERT_EQ(controller->CreateForm(HostParams(5)), 0);
  EXPECT_TRUE(host->asked.empty());
  std::u16string version;
  controller->GetVersion(version);
  EXPECT_EQ(version, u"870401-0.00.00");
  Variant info;
  ASSERT_EQ(controller->GetInfo(info), 0);
  EXPECT_EQ(info[0].asString(), "tester");
  EXPECT_EQ(info[1].asString(), "C01");
  EXPECT_EQ(info[2].asString(), "MVAR52");

  controller->SetVisible(-1);
  EXPECT_EQ(controller->GetVisible(), -1);
  const HWND form = reinterpret_cast<HWND>(controller->GetHandle());
  EXPECT_EQ(GetForegroundWindow(), form);
  EXPECT_EQ(events.codes, (std::vector<int>{256, 272}));

  EXPECT_EQ(controller->Notify(7, Variant()), -1);
  EXPECT_EQ(controller->Notify(5, VarArrayOf({0})), 0);
  EXPECT_EQ(controller->Execute(Variant::Null()), -1);
  EXPECT_EQ(controller->Execute(VarArrayOf({0, VarArrayOf({0})})), 0);

  // Cancel: a click on the form's Cancel button, found by name through its window.
  const HWND cancel = FindChildWindow(form, "btnCancel");
  ASSERT_NE(cancel, nullptr);
  SendMessage(cancel, WM_LBUTTONDOWN, 0, MAKELPARAM(2, 2));
  SendMessage(cancel, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  PumpMessages();
  EXPECT_TRUE(controller->IsFormFreed());
  EXPECT_EQ(controller->ResultCode, 2);
  EXPECT_EQ(events.codes.back(), 304);
}

TEST_F(ControllerTest, EscapeClosesTheFormWithResultZero) {
  ASSERT_EQ(controller->CreateForm(HostParams(5)), 0);
  controller->SetVisible(-1);
  const HWND form = reinterpret_cast<HWND>(controller->GetHandle());
  SendMessage(form, WM_KEYDOWN, VK_ESCAPE, 0);
  PumpMessages();
  EXPECT_TRUE(controller->IsFormFreed());
  EXPECT_EQ(controller->ResultCode, 0);
}

}  // namespace
}  // namespace ox
