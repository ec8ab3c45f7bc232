#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/BaseGene.h"
#include "platform/CodePage.h"
#include "platform/OleAuto.h"
#include "tests/support/TestMachine.h"
#include "tests/ui/ControlInput.h"
#include "ui/Edit.h"
#include "ui/Memo.h"

namespace ox {
namespace {

// The host's system settings: names in row 0, values in row 1; records the companies
// asked for.
class FakeCounter : public AutoObject {
 public:
  FakeCounter() {
    AddMethod("GetSysInfo", 1, [this](std::span<Variant> args) {
      companies.push_back(args[0].asString());
      Variant info = VarArrayCreate({0, 1, 0, 1});
      info(0, 0) = "QMX002";
      info(1, 0) = "Test Company";
      info(0, 1) = "SYS007";
      info(1, 1) = "Colour";
      return info;
    });
  }
  std::vector<std::string> companies;
};

// The host's data check: answers the rows it holds by "prog;query" and records the
// calls as "method prog;query".
class FakeValidator : public AutoObject {
 public:
  FakeValidator() {
    for (const char* method : {"QueryData", "CheckValue"}) {
      AddMethod(method, 5, [this, method](std::span<Variant> args) {
        const std::string key = args[0].asString() + ";" + args[1].asString();
        calls.push_back(std::string(method) + " " + key);
        const auto found = rows.find(key);
        if (found == rows.end()) return Variant(false);
        args[4] = found->second;
        return Variant(true);
      });
    }
  }
  std::map<std::string, Variant> rows;
  std::vector<std::string> calls;
};

// The host's lookup window: keeps the request and answers one row.
class FakeLookupWindow : public AutoObject {
 public:
  FakeLookupWindow() {
    AddMethod("F2GetData", 1, [this](std::span<Variant> args) {
      request = args[0];
      return VarArrayOf({VarArrayOf({"WO-1", "Work order 1"})});
    });
  }
  Variant request;
};

// The host application object: message texts "[<type><id>] %s", recorded as
// "<type>;<id>"; help calls recorded as "<module> <topic>".
class FakeHost : public AutoObject {
 public:
  FakeHost() {
    AddMethod("GetMessage", 2, [this](std::span<Variant> args) {
      asked.push_back(args[0].asString() + ";" + args[1].asString());
      return Variant("[" + args[0].asString() + args[1].asString() + "] %s");
    });
    AddMethod("VersionType", 0, [](std::span<Variant>) { return Variant(1); });
    AddMethod("ProductID", 0, [](std::span<Variant>) { return Variant(3); });
    AddMethod("Com_Counter", 0,
              [this](std::span<Variant>) { return Variant(DispatchPtr(counter)); });
    AddMethod("Com_Validator", 0,
              [this](std::span<Variant>) { return Variant(DispatchPtr(validator)); });
    AddMethod("Com_F2Window", 0, [this](std::span<Variant>) {
      return withLookupWindow ? Variant(DispatchPtr(lookupWindow)) : Variant();
    });
    AddMethod("CallHelp", 1, [this](std::span<Variant> args) {
      help.push_back(args[0][0].asString() + " " + args[0][1].asString());
      return Variant();
    });
  }
  std::shared_ptr<FakeCounter> counter = std::make_shared<FakeCounter>();
  std::shared_ptr<FakeValidator> validator = std::make_shared<FakeValidator>();
  std::shared_ptr<FakeLookupWindow> lookupWindow = std::make_shared<FakeLookupWindow>();
  bool withLookupWindow = true;
  std::vector<std::string> asked;
  std::vector<std::string> help;
};

// A report form of program "MVA...": two edits with a memo between them on the first
// page. It connects the lookup window, names its server object, and records the host
// commands and the clicks of OK.
class TfrmMVAtest : public TfrmBaseGene {
 public:
  OX_CLASS_INFO()
  using TfrmBaseGene::TfrmBaseGene;

  void InitProgram() override {
    TfrmBaseGene::InitProgram();
    F2Flags = 4;
  }
  void SetupConnection(TSocketConnection& connection) override {
    connection.SetServerName(serverName);
  }
  bool HostCommand(int mode) override {
    commands.push_back(mode);
    return TfrmBaseGene::HostCommand(mode);
  }
  void OkClicked(TObject*) { ++okClicks; }
  // An exit check that raises its code once.
  void ExitCheck(TObject*) {
    if (!exitCode.empty()) ShowMessageCode(std::exchange(exitCode, std::string()));
  }

  TEdit* edA() const { return dynamic_cast<TEdit*>(FindComponent("edA")); }
  TMemo* mmNote() const { return dynamic_cast<TMemo*>(FindComponent("mmNote")); }
  TEdit* edB() const { return dynamic_cast<TEdit*>(FindComponent("edB")); }
  TClientDataSet* cdsNames() const {
    return dynamic_cast<TClientDataSet*>(FindComponent("cdsNames"));
  }

  std::string serverName;
  std::vector<int> commands;
  int okClicks = 0;
  std::string exitCode;

 protected:
  void ResourceTexts(std::vector<std::string_view>& texts) const override {
    TfrmBaseGene::ResourceTexts(texts);
    texts.push_back(R"(inherited frmMVAtest: TfrmMVAtest
  inherited pgOption: TExtPageControl
    inherited tsOption1: TTabSheet
      object edA: TEdit
        Left = 8
        Top = 8
        TabOrder = 0
      end
      object mmNote: TMemo
        Left = 8
        Top = 40
        Width = 200
        Height = 80
        TabOrder = 1
      end
      object edB: TEdit
        Left = 8
        Top = 130
        TabOrder = 2
      end
    end
  end
  object cdsNames: TClientDataSet
    object cdsNamesNAME: TStringField
      FieldName = 'NAME'
      DisplayLabel = #21517#31216
    end
  end
end
)");
  }
};

const ClassInfo& TfrmMVAtest::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TfrmMVAtest>("TfrmMVAtest", &TfrmBaseGene::StaticClassInfo()).build();
  return info;
}

// The application server's object.
class FakeServer : public AutoObject {};

Variant HostParams(int count) {
  const Variant all[] = {"tester", "C01", "DB01", 0, "reserved"};
  Variant params = VarArrayCreate({0, count - 1});
  for (int i = 0; i < count; ++i)
    params[i] = all[i];
  return params;
}

// A run value [mode, [useNames, [[["label", name]], ["value"]]]].
Variant RunValue(int mode, bool useNames, const std::string& name) {
  return VarArrayOf(
      {mode, VarArrayOf({useNames, VarArrayOf({VarArrayOf({VarArrayOf({"label", name})}),
                                               VarArrayOf({"value"})})})});
}

class BaseGeneTest : public ::testing::Test {
 protected:
  BaseGeneTest() { HeadlessMessages().Reset(); }
  ~BaseGeneTest() override {
    if (form.get() != nullptr) form->Free();
    HeadlessMessages().Reset();
  }

  // A client installation with the user interface's code page and, when given, the
  // lines of its server section.
  void Install(std::string_view uiCodePage, std::string_view serverLines = {}) const {
    std::string ini = "[CodePage]\r\nUICodePage=" + std::string(uiCodePage) + "\r\n";
    if (!serverLines.empty()) ini += "[Server Information]\r\n" + std::string(serverLines);
    machine.InstallClient(ini);
  }

  // The form as the controller makes it, before InitForm.
  TfrmMVAtest& Create(const std::string& modulePath = "C:\\Prog\\MVAR52C.so") {
    auto* made = CreateForm<TfrmMVAtest>(nullptr);
    form = made;
    made->SetModulePath(modulePath);
    made->HostObject = Variant(DispatchPtr(host));
    return *made;
  }

  // An initialised form, its messages so far forgotten.
  TfrmMVAtest& Ready() {
    TfrmMVAtest& made = Create();
    EXPECT_TRUE(made.InitForm(HostParams(5)));
    HeadlessMessages().ClearRecords();
    host->asked.clear();
    return made;
  }

  // A shown form with the focus on the control.
  static void Focus(TfrmMVAtest& shown, TWinControl& control) {
    shown.Show();
    control.SetFocus();
    ASSERT_EQ(shown.ActiveControl(), &control);
  }

  // The boxes shown so far, as "<kind>:<text>".
  static std::vector<std::string> Boxes() {
    std::vector<std::string> boxes;
    for (const HeadlessMessageBoxes::Record& record : HeadlessMessages().Records())
      boxes.push_back(std::to_string(record.request.type) + ":" + record.request.text);
    return boxes;
  }

  static std::string Box(TMsgDlgType type, const std::string& text) {
    return std::to_string(type) + ":" + text;
  }

  test::TestMachine machine{936};
  std::shared_ptr<FakeHost> host = std::make_shared<FakeHost>();
  ComponentRef<TfrmMVAtest> form;
};

// ---- initialisation -------------------------------------------------------------------

TEST_F(BaseGeneTest, InitFormTakesTheHostAndTheProgramOnce) {
  host->validator->rows["ADMMB;01"] =
      VarArrayOf({Gb("材料差异汇总表"), "", "", "", "Y", "", "", "Material variance"});
  TfrmMVAtest& made = Create();
  ASSERT_TRUE(made.InitForm(HostParams(5)));

  EXPECT_EQ(made.UserID, "tester");
  EXPECT_EQ(made.CompanyID, "C01");
  EXPECT_EQ(made.DbName, "DB01");
  EXPECT_EQ(made.HostParam4.asString(), "reserved");
  EXPECT_EQ(made.ProgramCode, "MVAR52");
  EXPECT_EQ(made.ServerProgID, "MVAR52S.Class1");
  EXPECT_EQ(made.ProgramName, Gb("材料差异汇总表"));
  EXPECT_TRUE(made.WantLog);
  EXPECT_EQ(made.CompanyTitle, "Test Company");
  EXPECT_EQ(host->counter->companies, (std::vector<std::string>{"C01"}));
  EXPECT_EQ(made.MessageCodes(), "");
  EXPECT_TRUE(Boxes().empty());

  // A second call finds the form initialised: nothing is read, cleared or set.
  made.ShowMessageCode("I;-000001;kept");
  EXPECT_FALSE(made.InitForm(VarArrayOf({"other", "C02", "DB02", 0, "x"})));
  EXPECT_EQ(made.UserID, "tester");
  EXPECT_EQ(made.CompanyID, "C01");
  EXPECT_EQ(made.MessageCodes(), "I;-000001;kept; ");
  EXPECT_EQ(host->counter->companies.size(), 1u);
}

TEST_F(BaseGeneTest, InitFormFailuresAreSaidAndCloseTheForm) {
  const struct Case {
    const char* what;
    const char* modulePath;
    int paramCount;
    bool result;
    const char* codes;  // every one shown as an error
    std::size_t boxes;
    const char* address;  // of the connection afterwards
    bool closes;
  } cases[] = {
      {"five parameters", "C:\\Prog\\MVAR52C.so", 5, true, "", 0, "srv1", false},
      {"four parameters", "C:\\Prog\\MVAR52C.so", 4, false, "E;000038; E;000038; E;000006; ", 3, "",
       true},
      // "frmMVAtest" names program "MVA...", not "GLA...": no connection is prepared.
      {"another program", "C:\\Prog\\GLAR10C.so", 5, true, "E;000036; ", 1, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HeadlessMessages().Reset();
    Install("936", "ComputerName=srv1\r\n");
    TfrmMVAtest& made = Create(c.modulePath);

    EXPECT_EQ(made.InitForm(HostParams(c.paramCount)), c.result);

    EXPECT_EQ(made.MessageCodes(), c.codes);
    EXPECT_EQ(made.UserID, "tester");  // initialisation goes on after a missing parameter
    EXPECT_EQ(made.MainMidas()->Address(), c.address);
    EXPECT_EQ(HeadlessMessages().Records().size(), c.boxes);
    for (const HeadlessMessageBoxes::Record& record : HeadlessMessages().Records())
      EXPECT_EQ(record.request.type, mtError);
    ProcessMessages();
    ProcessMessages();
    EXPECT_EQ(form.get() == nullptr, c.closes);
    if (form.get() != nullptr) form->Free();
  }
}

// ---- running on the host's request -----------------------------------------------------

TEST_F(BaseGeneTest, HostRunConfirmsOrCommandsOnlyWhenEveryNameCarriesAValue) {
  const struct Case {
    const char* what;
    Variant value;
    int okClicks;
    std::vector<int> commands;
    bool showSubmit;
    const char* codes;
  } cases[] = {
      {"mode 2 confirms quietly", RunValue(2, true, "edA"), 1, {}, false, ""},
      {"mode 1 confirms with the message", RunValue(1, true, "mmNote"), 1, {}, true, ""},
      {"mode 0 only fills", RunValue(0, true, "edA"), 0, {}, true, ""},
      {"an unknown name", RunValue(2, true, "edZ"), 0, {}, false, "W;000014; "},
      {"a panel without a value", RunValue(2, true, "pnlCondition"), 0, {}, false, "W;000014; "},
      {"a host command", RunValue(5, true, "edA"), 0, {5}, false, ""},
      {"a host command with an unknown name", RunValue(5, true, "edZ"), 0, {}, false, "W;000014; "},
      {"values by position, not taken by the base form",
       RunValue(2, false, "edA"),
       0,
       {},
       false,
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TfrmMVAtest& made = Ready();
    made.btnOk()->OnClick = MakeMethod<&TfrmMVAtest::OkClicked>(&made);

    made.HostRun(VarArrayOf({true, c.value}));

    EXPECT_EQ(made.okClicks, c.okClicks);
    EXPECT_EQ(made.commands, c.commands);
    EXPECT_EQ(made.ShowSubmitMessage, c.showSubmit);
    EXPECT_EQ(made.MessageCodes(), c.codes);
    EXPECT_TRUE(made.LastRunValue == c.value);
    EXPECT_TRUE(made.Converted());
    form->Free();
  }
}

TEST_F(BaseGeneTest, HostRunWithoutAnArrayOnlyKeepsTheValue) {
  TfrmMVAtest& made = Ready();
  made.btnOk()->OnClick = MakeMethod<&TfrmMVAtest::OkClicked>(&made);
  for (const Variant& value : {Variant(), Variant::Null(), Variant(2)}) {
    made.HostRun(VarArrayOf({true, value}));
    EXPECT_TRUE(made.LastRunValue == value);
  }
  EXPECT_EQ(made.okClicks, 0);
  EXPECT_FALSE(made.Converted());
}

TEST_F(BaseGeneTest, OnABig5SystemTheFirstRunShowsTheProgramInBig5) {
  const std::string big5 = Utf8ToAnsi("報表", 950);
  const struct Case {
    int acp;
    std::string programCaption;
    bool recaptioned;
  } cases[] = {{950, big5, true}, {936, Gb("报表"), false}};
  host->validator->rows["ADMMB;01"] = VarArrayOf({Gb("报表")});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.acp);
    Machine().ansiCodePage = c.acp;
    TfrmMVAtest& made = Ready();
    const std::string before = made.Caption();
    // Only the run that converts the texts converts the name.
    made.HostRun(VarArrayOf({true, RunValue(0, true, "edA")}));
    made.HostRun(VarArrayOf({true, RunValue(0, true, "edA")}));
    EXPECT_EQ(made.ProgramCaption, c.programCaption);
    EXPECT_EQ(made.Caption(), c.recaptioned ? big5 + "[Test Company]" : before);
    form->Free();
  }
}

// A Big5 interface on a GB system: field labels and the texts of string fields show in
// Big5, and what is typed in Big5 is kept in GB.
TEST_F(BaseGeneTest, DataSetsShowTheirTextsInTheInterfacesCodePage) {
  Install("950");
  TfrmMVAtest& made = Create();
  TClientDataSet& names = *made.cdsNames();
  TField& name = *names.Fields()[0];
  EXPECT_EQ(name.DisplayLabel(), Utf8ToAnsi("名稱", 950));
  names.CreateDataSet();
  names.Append();
  name.SetAsString(Gb("材料"));
  EXPECT_EQ(name.Text(), Utf8ToAnsi("材料", 950));
  name.SetText(Utf8ToAnsi("差異", 950));
  EXPECT_EQ(name.AsString(), Gb("差异"));
  made.Free();

  Install("936");  // a GB interface converts nothing
  TfrmMVAtest& plain = Create();
  EXPECT_EQ(plain.cdsNames()->Fields()[0]->DisplayLabel(), Gb("名称"));
}

// ---- keys --------------------------------------------------------------------------------

TEST_F(BaseGeneTest, OnlyCtrlAltVOpensThePropertiesOfThePlugInFile) {
  std::vector<std::string> opened;
  Machine().shellExecute = [&opened](std::string_view verb, std::string_view file) {
    opened.push_back(std::string(verb) + " " + std::string(file));
    return true;
  };
  TfrmMVAtest& made = Ready();
  Focus(made, *made.edA());
  const struct Case {
    TShiftState shift;
    bool opens;
  } cases[] = {
      {ssCtrl | ssAlt, true}, {ssCtrl | ssShift, false},         {ssCtrl, false},
      {ssAlt, false},         {ssCtrl | ssAlt | ssShift, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shift);
    opened.clear();
    test::Press(*made.edA(), 'V', c.shift);
    EXPECT_EQ(opened, c.opens ? std::vector<std::string>{"properties C:\\Prog\\MVAR52C.so"}
                              : std::vector<std::string>{});
  }
}

TEST_F(BaseGeneTest, EnterInAMemoBreaksTheFirstTwoLinesAndMovesOnFromTheThird) {
  const struct Case {
    int line;
    bool breaks;
  } cases[] = {{0, true}, {1, true}, {2, false}, {3, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TfrmMVAtest& made = Ready();
    TMemo& memo = *made.mmNote();
    memo.SetText("a\r\nb\r\nc\r\nd");
    Focus(made, memo);
    memo.SetSelStart(3 * c.line);
    ASSERT_EQ(memo.CaretPos().Y, c.line);

    test::Press(memo, VK_RETURN);

    EXPECT_EQ(memo.Lines()->Count(), c.breaks ? 5 : 4);
    EXPECT_EQ(made.ActiveControl(), c.breaks ? static_cast<TWinControl*>(&memo) : made.edB());
    form->Free();
  }
}

TEST_F(BaseGeneTest, EnterOnAPageEndControlMovesToTheNextPage) {
  TfrmMVAtest& made = Ready();
  made.PageEndControls.push_back(made.edB());
  Focus(made, *made.edA());
  test::Press(*made.edA(), VK_RETURN);
  EXPECT_EQ(made.pgOption()->ActivePageIndex(), 0);
  EXPECT_EQ(made.ActiveControl(), made.mmNote());

  made.edB()->SetFocus();
  test::Press(*made.edB(), VK_RETURN);
  EXPECT_EQ(made.pgOption()->ActivePageIndex(), 1);
}

TEST_F(BaseGeneTest, F1AsksForTheTopicOfTheProgramCode) {
  const struct Case {
    const char* code;
    const char* help;  // empty: no help
  } cases[] = {
      {"MVAR52", "MVA 12520000"},
      {"CSTB07", "CST 13070000"},
      {"CSTAR08", "CST 62080000"},
      {"CSTMB11", "CST 83110000"},
      {"CSTAX1", ""},
      {"CSTX01", ""},
      {"CSTA", ""},
      {"CST", ""},
  };
  TfrmMVAtest& made = Ready();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    host->help.clear();
    made.ProgramCode = c.code;
    EXPECT_EQ(made.ShowHelp(), *c.help != '\0');
    EXPECT_EQ(host->help,
              *c.help != '\0' ? std::vector<std::string>{c.help} : std::vector<std::string>{});
  }
  // The key asks the same.
  made.ProgramCode = "MVAR52";
  host->help.clear();
  Focus(made, *made.edA());
  test::Press(*made.edA(), VK_F1);
  EXPECT_EQ(host->help, (std::vector<std::string>{"MVA 12520000"}));
}

// ---- messages ----------------------------------------------------------------------------

TEST_F(BaseGeneTest, MessageCodesAreRecordedAndShownByTheirTypeLetter) {
  const struct Case {
    const char* code;
    const char* asked;
    const char* text;
    bool shown;
    TMsgDlgType kind;
  } cases[] = {
      {"I;-000004;J0042", "I;000004", "[I000004] J0042", false, mtInformation},
      {"I;000004;J0042", "I;000004", "[I000004] J0042", true, mtInformation},
      {"W;000014", "W;000014", "[W000014] ", true, mtWarning},
      {"Q; 000009 ;x", "Q;000009", "[Q000009] x", true, mtConfirmation},
      {"R;000001", "R;000001", "[R000001] ", true, mtCustom},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    TfrmMVAtest& made = Ready();
    made.ShowMessageCode(c.code);
    EXPECT_EQ(host->asked, std::vector<std::string>{c.asked});
    EXPECT_EQ(made.MessageCodes(), std::string(c.code) + "; ");
    EXPECT_EQ(made.MessageTexts(), std::string(c.text) + "; ");
    ASSERT_EQ(HeadlessMessages().Records().size(), c.shown ? 1u : 0u);
    if (c.shown) {
      const MessageBoxRequest& box = HeadlessMessages().Records()[0].request;
      EXPECT_EQ(box.type, c.kind);
      EXPECT_EQ(box.text, c.text);
      EXPECT_EQ(box.buttons, std::vector<TMsgDlgBtn>{mbOK});
      EXPECT_EQ(box.caption, made.Caption());
      EXPECT_EQ(box.captions.at(mbOK), Gb("确定"));
    }
    form->Free();
  }
}

TEST_F(BaseGeneTest, TheSameCodeTwiceRecordsTheCodeTwiceAndItsTextOnce) {
  TfrmMVAtest& made = Ready();
  made.ShowMessageCode("I;-000004;J1");
  made.ShowMessageCode("I;-000004;J1");
  EXPECT_EQ(made.MessageCodes(), "I;-000004;J1; I;-000004;J1; ");
  EXPECT_EQ(made.MessageTexts(), "[I000004] J1; ");
  made.ShowMessageCode("");
  EXPECT_EQ(made.MessageCodes(), "");
  EXPECT_EQ(made.MessageTexts(), "");
}

TEST_F(BaseGeneTest, WithCancelFocusedNothingIsRecordedOrShown) {
  TfrmMVAtest& made = Ready();
  Focus(made, *made.btnCancel());
  made.ShowMessageCode("E;000005");
  made.AddMessageText("an exception");
  Variant out = "kept";
  EXPECT_TRUE(made.CheckValueExists("GL", "01", VarArrayOf({"p"}), "E", 0, out));
  EXPECT_EQ(out.asString(), "kept");
  EXPECT_EQ(made.MessageCodes(), "");
  EXPECT_EQ(made.MessageTexts(), "");
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(host->asked.empty());
}

TEST_F(BaseGeneTest, DuringAPageChangeOnlyErrorsAreShown) {
  const struct Case {
    const char* code;
    std::vector<std::string> boxes;
  } cases[] = {
      {"W;000014", {}},
      {"E;000005", {Box(mtError, "[E000005] ")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    TfrmMVAtest& made = Ready();
    made.edA()->OnExit = MakeMethod<&TfrmMVAtest::ExitCheck>(&made);
    made.exitCode = c.code;
    Focus(made, *made.edA());

    test::Press(*made.edA(), VK_TAB, ssCtrl);

    EXPECT_EQ(made.MessageCodes(), std::string(c.code) + "; ");
    EXPECT_EQ(Boxes(), c.boxes);
    EXPECT_FALSE(made.InPageChange);
    EXPECT_EQ(made.pgOption()->ActivePageIndex(), 1);
    form->Free();
  }
}

// ---- server access ------------------------------------------------------------------------

TEST_F(BaseGeneTest, SystemSettingsComeFromTheCacheElseTheCategoryDefaults) {
  const struct Case {
    const char* uiCodePage;
    const char* name;
    std::string value;
  } cases[] = {
      {"936", "SYS008", Gb("商品分类方式二")},
      {"437", "SYS008", "Inv.Cate.2"},
      {"936", "sys010", Gb("商品分类方式四")},
      // The English interface numbers the fourth category as the first three.
      {"437", "SYS010", "Inv.Cate.4"},
      {"437", "SYS007", "Colour"},
      {"936", "QMX002", "Test Company"},
      {"437", "SYS011", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.uiCodePage) + " " + c.name);
    Install(c.uiCodePage);
    TfrmMVAtest& made = Ready();
    std::string value = "before";
    made.GetSystemSetting(c.name, value);
    EXPECT_EQ(value, c.value);
    form->Free();
  }
}

TEST_F(BaseGeneTest, TheProgramNameComesFromTheProgramMaster) {
  const Variant eight =
      VarArrayOf({Gb("材料差异汇总表"), "", "", "", "N", "", "", "Material variance"});
  const Variant seven = VarArrayOf({Gb("材料差异汇总表"), "", "", "", "Y", "", ""});
  const struct Case {
    const char* what;
    const char* uiCodePage;
    Variant row;  // Empty: not found
    std::string name;
    bool wantLog;
  } cases[] = {
      {"Chinese interface", "936", eight, Gb("材料差异汇总表"), false},
      {"English interface", "437", eight, "Material variance", false},
      {"English interface, no English name", "437", seven, Gb("材料差异汇总表"), true},
      {"not found", "936", Variant(), "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Install(c.uiCodePage);
    host->validator->rows.clear();
    if (!c.row.isEmpty()) host->validator->rows["ADMMB;01"] = c.row;
    TfrmMVAtest& made = Ready();
    EXPECT_EQ(made.ProgramName, c.name);
    EXPECT_EQ(made.ProgramCaption, c.name);
    EXPECT_EQ(made.WantLog, c.wantLog);
    EXPECT_EQ(host->validator->calls.back(), "CheckValue ADMMB;01");
    form->Free();
  }
}

TEST_F(BaseGeneTest, TheServerAddressComesFromTheFirstConfiguredServer) {
  const struct Case {
    const char* what;
    bool installed;
    const char* serverLines;
    const char* address;
    int port;
  } cases[] = {
      {"two servers", true, "ComputerName=srv1;srv2\r\nServerPort=3000\r\n", "srv1", 3000},
      {"no server", true, "ComputerName=\r\n", "kept", 99},
      {"no installation", false, "", "kept", 99},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.installed) Install("936", c.serverLines);
    TfrmMVAtest& made = Ready();
    TSocketConnection& connection = *made.MainMidas();
    connection.SetAddress("kept");
    connection.SetPort(99);

    EXPECT_TRUE(made.LoadServerAddress());

    EXPECT_EQ(connection.Address(), c.address);
    EXPECT_EQ(connection.Port(), c.port);
    EXPECT_EQ(connection.ObjectBroker(), nullptr);
    form->Free();
  }
}

TEST_F(BaseGeneTest, TheLocalAddressMakesTheServerObjectInProcessAndKeepsItOpen) {
  int created = 0;
  auto server = std::make_shared<FakeServer>();
  RegisterOleClass("TestCounterS.dmTest", [&created, server] {
    ++created;
    return DispatchPtr(server);
  });
  int socketsOpened = 0;
  const SocketTransport before =
      SetSocketTransport([&socketsOpened, server](const TSocketConnection&) {
        ++socketsOpened;
        return Variant(DispatchPtr(server));
      });
  const struct Case {
    const char* address;
    bool local;
    int created;
    int socketsOpened;
  } cases[] = {{"127.0.0.1", true, 1, 0}, {"srv1", false, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    created = socketsOpened = 0;
    Install("936", "ComputerName=" + std::string(c.address) + "\r\n");
    TfrmMVAtest& made = Create();
    made.serverName = "TestCounterS.dmTest";
    EXPECT_TRUE(made.InitForm(HostParams(5)));

    EXPECT_EQ(made.LocalServer, c.local);
    EXPECT_EQ(created, c.created);
    EXPECT_EQ(socketsOpened, c.socketsOpened);
    EXPECT_EQ(made.AppServer.asObject(), server);
    EXPECT_TRUE(made.MainMidas()->Connected());

    made.FormDestroy(&made);
    EXPECT_EQ(made.MainMidas()->Connected(), c.local);
    EXPECT_TRUE(made.AppServer.isEmpty());
    form->Free();
  }
  SetSocketTransport(before);
  UnregisterOleClass("TestCounterS.dmTest");
}

TEST_F(BaseGeneTest, CheckValueExistsAnswersTheRowOrOneColumn) {
  const struct Case {
    const char* what;
    const char* prog;
    const char* kind;
    int index;
    bool result;
    Variant out;
    const char* call;
    const char* codes;
  } cases[] = {
      {"whole row", "GL", "E", -1, true, VarArrayOf({"c0", "c1", "c2"}), "CheckValue GL;01", ""},
      {"column 2", "GL", "E", 2, true, Variant("c2"), "CheckValue GL;01", ""},
      {"beyond the row", "GL", "E", 3, true, VarArrayOf({"c0", "c1", "c2"}), "CheckValue GL;01",
       ""},
      {"query mode", "GL", "E", -2, true, VarArrayOf({"c0", "c1", "c2"}), "QueryData GL;01", ""},
      {"missing, error", "XX", "E", 0, false, Variant("kept"), "CheckValue XX;01",
       "E;000001;[I000008] %s; "},
      {"missing, warning", "XX", "W", 0, false, Variant("kept"), "CheckValue XX;01",
       "W;000004;[I000008] %s; "},
      {"missing, quiet", "XX", "", 0, false, Variant("kept"), "CheckValue XX;01", ""},
  };
  host->validator->rows["GL;01"] = VarArrayOf({"c0", "c1", "c2"});
  TfrmMVAtest& made = Ready();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    made.ShowMessageCode("");
    Variant out = "kept";
    EXPECT_EQ(made.CheckValueExists(c.prog, "01", VarArrayOf({"p"}), c.kind, c.index, out),
              c.result);
    EXPECT_TRUE(out == c.out) << VarToStr(out);
    EXPECT_EQ(host->validator->calls.back(), c.call);
    EXPECT_EQ(made.MessageCodes(), c.codes);
  }
  // Without parameters nothing is asked and nothing is found.
  const std::size_t calls = host->validator->calls.size();
  Variant out = "kept";
  EXPECT_TRUE(made.CheckValueExists("GL", "01", Variant(), "E", 0, out));
  EXPECT_TRUE(out.isEmpty());
  EXPECT_EQ(host->validator->calls.size(), calls);
}

TEST_F(BaseGeneTest, LookupDataWithoutALookupWindowAnswersNothing) {
  host->withLookupWindow = false;
  TfrmMVAtest& made = Ready();
  Variant data = "kept";
  made.LookupData("GL", "02", VarArrayOf({"p1"}), "extra", true, data);
  EXPECT_TRUE(data.isEmpty());
  EXPECT_TRUE(host->lookupWindow->request.isEmpty());
}

TEST_F(BaseGeneTest, LookupDataSendsTheNineteenElementsInOrder) {
  TfrmMVAtest& made = Ready();
  Variant data;
  made.LookupData("GL", "02", VarArrayOf({"p1"}), "extra", true, data);

  const Variant expected =
      VarArrayOf({"GL", "02", VarArrayOf({"p1"}), true, "extra", "C01", "DB01",
                  static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(made.Handle())), 1,
                  false, 3, "", "", "", "", true, true, Variant(DispatchPtr(host)), "tester"});
  const Variant& request = host->lookupWindow->request;
  ASSERT_TRUE(request.isArray());
  ASSERT_EQ(VarArrayHighBound(request, 1), 18);
  for (int i = 0; i <= 18; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(request[i] == expected[i]) << VarToStr(request[i]);
    EXPECT_EQ(request[i].type(), expected[i].type());
  }
  EXPECT_TRUE(data == VarArrayOf({VarArrayOf({"WO-1", "Work order 1"})}));
}

// The power reply: six fields with the power letters in the fourth, two texts kept, and
// the power text made of element 4 and the items of element 5; the letters' characters
// 8 and 7 go to the lookup window as elements 15 and 16.
TEST_F(BaseGeneTest, ThePowerReplyGivesThePowerTextAndTheLookupFlags) {
  TfrmMVAtest& made = Ready();
  made.ApplyPower(VarArrayOf(
      {Variant(), "a,Y,N,YYYYYYNY,e,f", "two", "three", "head", VarArrayOf({2, "x", "y"})}));
  EXPECT_EQ(made.PowerFields, (std::vector<std::string>{"a", "Y", "N", "YYYYYYNY", "e", "f"}));
  EXPECT_EQ(made.PowerPart2, "two");
  EXPECT_EQ(made.PowerText,
            u"head\x03"
            u"2\x03"
            u"x\x03"
            u"y\x03");
  Variant data;
  made.LookupData("GL", "02", VarArrayOf({"p1"}), "", false, data);
  const Variant& request = host->lookupWindow->request;
  EXPECT_EQ(request[14].asString(),
            "head\x03"
            "2\x03"
            "x\x03"
            "y\x03");
  EXPECT_TRUE(request[15].asBoolean());   // character 8: "Y"
  EXPECT_FALSE(request[16].asBoolean());  // character 7: "N"

  made.ApplyPower(VarArrayOf({Variant(), "a,b,c,YY"}));  // short letters count as not "N"
  EXPECT_TRUE(made.PowerFlag7);
  EXPECT_TRUE(made.PowerFlag8);
}

}  // namespace
}  // namespace ox
