// The option form's field checks on a small derived form: date layout from the host's
// settings, date and year-month checks when a control is left, required controls on
// the confirming buttons, and the colours kept and put back.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/OxSpin.h"
#include "controls/SelectPnl.h"
#include "framework/BaseGene.h"
#include "lib/LibVCLs.h"
#include "platform/CodePage.h"
#include "platform/OleAuto.h"
#include "tests/support/TestMachine.h"
#include "ui/Dialogs.h"
#include "ui/Edit.h"
#include "ui/SpeedButton.h"

namespace ox {
namespace {

// The option form with a date edit, a year-month edit, a required edit, a date range
// panel, an edit to move to, a spin edit and a query button; the own handlers of OK,
// query and the date edit count their runs.
constexpr std::string_view kChecksResource = R"(inherited frmChecks: TfrmChecks
  inherited Panel1: TPanel
    inherited btnOk: TButton
      OnClick = OkClick
    end
    object btnQuery: TButton
      Left = 200
      Top = 10
      TabOrder = 2
      OnClick = QueryClick
    end
  end
  inherited pgOption: TExtPageControl
    inherited tsOption1: TTabSheet
      object edDate: TMaskEdit
        Left = 8
        Top = 8
        TabOrder = 0
        OnExit = edDateExit
      end
      object edMonth: TMaskEdit
        Left = 8
        Top = 40
        TabOrder = 1
      end
      object edName: TEdit
        Left = 8
        Top = 72
        TabOrder = 2
      end
      object spRange: TSelectPanel
        Left = 8
        Top = 104
        TabOrder = 3
      end
      object edOther: TEdit
        Left = 8
        Top = 160
        TabOrder = 4
      end
      object spnCount: TOxSpinEdit
        Left = 8
        Top = 192
        TabOrder = 5
      end
    end
  end
end
)";

class TfrmChecks : public TfrmBaseGene {
 public:
  OX_CLASS_INFO()
  using TfrmBaseGene::TfrmBaseGene;

  void OkClick(TObject*) { ++okRuns; }
  void QueryClick(TObject*) { ++queryRuns; }
  void edDateExit(TObject*) { ++dateExitRuns; }

  template <typename T>
  T* Find(std::string_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }

  int okRuns = 0;
  int queryRuns = 0;
  int dateExitRuns = 0;

 protected:
  void ResourceTexts(std::vector<std::string_view>& texts) const override {
    TfrmBaseGene::ResourceTexts(texts);
    texts.push_back(kChecksResource);
  }
};

const ClassInfo& TfrmChecks::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TfrmChecks>("TfrmChecks", &TfrmBaseGene::StaticClassInfo())
          .handler<&TfrmChecks::OkClick>("OkClick")
          .handler<&TfrmChecks::QueryClick>("QueryClick")
          .handler<&TfrmChecks::edDateExit>("edDateExit")
          .build();
  return info;
}

// The host's settings object: the company's system settings as name/value columns.
class Settings : public AutoObject {
 public:
  Settings() {
    AddMethod("GetSysInfo", 1, [this](std::span<Variant>) {
      Variant info = VarArrayCreate({0, 1, 0, static_cast<int>(values.size()) - 1});
      int column = 0;
      for (const auto& [name, value] : values) {
        info(0, column) = name;
        info(1, column) = value;
        ++column;
      }
      return info;
    });
  }
  std::map<std::string, std::string> values{{"Sys001", "1"}, {"Sys002", "/"}};
};

// The host application object: message texts "msg <type><id>" and the settings.
class Host : public AutoObject {
 public:
  explicit Host(DispatchPtr settings) {
    AddMethod("GetMessage", 2, [](std::span<Variant> args) {
      return Variant("msg " + args[0].asString() + args[1].asString());
    });
    AddMethod("Com_Counter", 0, [settings](std::span<Variant>) { return Variant(settings); });
  }
};

// The host's lookup window: the date picker answers a fixed text and keeps its argument.
class LookupWindow : public AutoObject {
 public:
  LookupWindow() {
    AddMethod("ShowInputDay", 1, [this](std::span<Variant> args) {
      asked = args[0];
      return Variant(answer);
    });
  }
  std::string answer;
  Variant asked;
};

class FieldChecksTest : public ::testing::Test {
 protected:
  FieldChecksTest() {
    HeadlessMessages().Reset();
    form->HostObject = Variant(DispatchPtr(std::make_shared<Host>(settings)));
    form->Counter = OleCall(form->HostObject, "Com_Counter", {});
    form->CompanyID = "C01";
    form->DbName = "DB01";
    UseLayout("1", "/");
    form->Show();
  }
  ~FieldChecksTest() override { HeadlessMessages().Reset(); }

  // The company's date settings, read again by the form.
  void UseLayout(const std::string& format, const std::string& separator) {
    settings->values = {{"Sys001", format}, {"Sys002", separator}};
    std::string ignored;
    form->GetSystemSetting("", ignored);
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& record : HeadlessMessages().Records())
      texts.push_back(record.request.text);
    return texts;
  }
  TWinControl* Control(std::string_view name) const { return form->Find<TWinControl>(name); }
  TSelectPanel* Panel() const { return form->Find<TSelectPanel>("spRange"); }
  // Enters the control, puts the text in (the date mask is on by then), and leaves for
  // `next`.
  void TypeAndLeave(std::string_view name, const std::string& text, TWinControl* next) {
    Control(name)->SetFocus();
    Control(name)->SetText(text);
    next->SetFocus();
  }

  test::TestMachine machine{936};
  std::shared_ptr<Settings> settings = std::make_shared<Settings>();
  Owned<TfrmChecks> form{CreateForm<TfrmChecks>(nullptr)};
};

TEST_F(FieldChecksTest, TheLayoutComesFromTheCompanySettings) {
  struct Case {
    std::string sys001, sys002, typedDate, date, typedMonth, month, mask;
  };
  const std::vector<Case> cases = {
      {"1", "", "2024/05/01", "20240501", "2024/05", "202405", "9999/99/99;1; "},
      {"x", "/", " 2024/5/1 ", "20240501", "    /  ", "", "9999/99/99;1; "},
      {"2", "-", "05-01-2024", "20240501", "05-2024", "202405", "99-99-9999;1; "},
      {"3", ".", "01.05.2024", "20240501", "05.2024", "202405", "99.99.9999;1; "},
      {"4", "/", "13/05/01", "19240501", "13/05", "192405", "99/99/99;1; "},
      {"5", "/", "113/05/01", "20240501", "113/05", "202405", "999/99/99;1; "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sys001 + " " + c.sys002);
    UseLayout(c.sys001, c.sys002);
    EXPECT_EQ(form->NormalizeDate(c.typedDate), c.date);
    EXPECT_EQ(form->NormalizeYearMonth(c.typedMonth), c.month);
    std::string mask;
    form->DateEditMask(mask);
    EXPECT_EQ(mask, c.mask);
    EXPECT_EQ(form->DateFormatCache, c.sys001 == "x" ? 1u : std::stoul(c.sys001));
    EXPECT_EQ(form->DateSeparatorCache, c.sys002.empty() ? "/" : c.sys002);
  }
}

TEST_F(FieldChecksTest, LeavingADateControlChecksItsText) {
  form->SetDateFieldNames("edDate");
  form->SetYearMonthFieldNames("edMonth");
  struct Case {
    const char* control;
    std::string text;
    bool passes;
  };
  const std::vector<Case> cases = {
      {"edDate", "2024/13/01", false}, {"edDate", "", true},
      {"edDate", "2024/02/29", true},  {"edDate", "2023/02/29", false},
      {"edMonth", "2024/13", false},   {"edMonth", "", true},
      {"edMonth", "2024/05", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.control) + " " + c.text);
    HeadlessMessages().ClearRecords();
    form->dateExitRuns = 0;
    TypeAndLeave(c.control, c.text, Control("edOther"));
    EXPECT_EQ(form->CheckFailed, !c.passes);
    EXPECT_EQ(form->ActiveControl(), Control(c.passes ? "edOther" : c.control));
    EXPECT_EQ(BoxTexts(),
              c.passes ? std::vector<std::string>{} : std::vector<std::string>{"msg E000005"});
    // The date edit's own handler runs after a passed check only.
    if (std::string(c.control) == "edDate") {
      EXPECT_EQ(form->dateExitRuns, c.passes ? 1 : 0);
    }
    if (!c.passes) TypeAndLeave(c.control, "", Control("edOther"));
  }
  // The masks went on when the controls were entered.
  EXPECT_EQ(form->Find<TMaskEdit>("edDate")->EditMask(), "9999/99/99;1; ");
  EXPECT_EQ(form->Find<TMaskEdit>("edMonth")->EditMask(), "9999/99;1; ");
}

TEST_F(FieldChecksTest, LeavingForCancelChecksNothing) {
  form->SetDateFieldNames("edDate");
  TypeAndLeave("edDate", "2024/13/01", form->btnCancel());
  EXPECT_FALSE(form->CheckFailed);
  EXPECT_TRUE(HeadlessMessages().Records().empty());
  EXPECT_EQ(form->ActiveControl(), form->btnCancel());
}

TEST_F(FieldChecksTest, APanelChecksBothBoundsAndFocusesTheFailingOne) {
  UseLayout("4", "-");
  form->SetDateFieldNames("spRange");
  TSelectPanel* panel = Panel();
  EXPECT_EQ(panel->ValueType(), TValueType::vt_Date);
  EXPECT_EQ(panel->DateSign(), "-");
  EXPECT_EQ(panel->DateType(), TDateType::dt_YYMMDD);

  panel->edBegin()->SetFocus();
  EXPECT_EQ(panel->EditMask(), "99-99-99;1; ");
  // A blank begin passes (and keeps the panel from reordering the bounds).
  panel->edFinal()->SetText("13-13-01");
  Control("edOther")->SetFocus();
  EXPECT_TRUE(form->CheckFailed);
  EXPECT_EQ(form->ActiveControl(), panel->edFinal());
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"msg E000005"});

  // The page-change check runs the panel's exit check from inside the panel.
  panel->edFinal()->SetText("13-12-31");
  form->RunExitCheck(panel->edFinal());
  EXPECT_FALSE(form->CheckFailed);
  form->CheckFailed = true;
  form->RunExitCheck(panel->edBegin());
  EXPECT_FALSE(form->CheckFailed);
}

TEST_F(FieldChecksTest, OnlyPanelsMaskedEditsAndEditsCanBeDateControls) {
  const std::string kinds = "\rTSelectPanel, TMaskedit, TEdit";
  TWinControl* spin = Control("spnCount");
  for (const bool entering : {true, false}) {
    HeadlessMessages().ClearRecords();
    EXPECT_FALSE(form->CheckDateField(spin, entering));
    EXPECT_FALSE(form->CheckYearMonthField(nullptr, entering));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                              Gb("判断日期的函数第一个参数错误, 只能传下列三种物件:") + kinds,
                              Gb("判断年月的函数第一个参数错误, 只能传下列三种物件:") + kinds}));
  }
  // A plain edit shows the blank date when entered empty, and keeps what was typed.
  auto* edit = form->Find<TEdit>("edName");
  EXPECT_TRUE(form->CheckDateField(edit, true));
  EXPECT_EQ(edit->Text(), "    /  /  ");
  edit->SetText("2024/01/02");
  EXPECT_TRUE(form->CheckDateField(edit, true));
  EXPECT_EQ(edit->Text(), "2024/01/02");
}

TEST_F(FieldChecksTest, DateListsHookTheirControlsAndKeepTheFormsOwnDate) {
  const TMethod ownExit = MakeMethod<&TfrmChecks::edDateExit>(form.get());
  form->SetDateFieldNames("edPrintDate");
  form->SetDateFieldNames("edDate");
  EXPECT_EQ(form->DateFieldNames, "edDate,edPrintDate");
  EXPECT_EQ(GetObjectMethod(Control("edDate"), "OnExit"), form->OnDateFieldExit.Method());
  EXPECT_EQ(GetObjectMethod(form->edPrintDate(), "OnEnter"), form->OnDateFieldEnter.Method());

  // A list naming edPrintDate stands alone; edDate gets its own handler back.
  form->SetDateFieldNames("edPrintDate,edMonth");
  EXPECT_EQ(form->DateFieldNames, "edPrintDate,edMonth");
  EXPECT_EQ(GetObjectMethod(Control("edDate"), "OnExit"), ownExit);
  EXPECT_EQ(GetObjectMethod(Control("edMonth"), "OnExit"), form->OnDateFieldExit.Method());
}

TEST_F(FieldChecksTest, ABlankRequiredFieldBlocksConfirmation) {
  form->SetDateFieldNames("edDate");
  form->pgOption()->SetActivePageIndex(1);
  form->SetRequiredFields("edName, spRange;N, edDate;;9");
  EXPECT_EQ(Control("edName")->Color(), 0xAFFFFF);
  EXPECT_EQ(Panel()->edBegin()->Color(), 0xAFFFFF);
  EXPECT_EQ(Panel()->ListBox()->Color(), 0xAFFFFF);

  form->btnOk()->Click();
  EXPECT_TRUE(form->CheckFailed);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"msg E000037"});
  EXPECT_EQ(form->pgOption()->ActivePageIndex(), 0);
  EXPECT_EQ(form->ActiveControl(), Control("edName"));

  // A masked date showing only its literals is blank too.
  Control("edName")->SetText("x");
  Control("edDate")->SetFocus();
  form->btnOk()->Click();
  EXPECT_TRUE(form->CheckFailed);
  EXPECT_EQ(form->ActiveControl(), Control("edDate"));
  EXPECT_EQ(form->okRuns, 0);

  // The empty panel flagged N does not block.
  Control("edDate")->SetText("2024/01/02");
  form->btnOk()->Click();
  EXPECT_FALSE(form->CheckFailed);
  EXPECT_EQ(form->okRuns, 1);
}

TEST_F(FieldChecksTest, QueryChecksAndReSettingKeepsTheFirstSavedHandlers) {
  const TColor nameColor = Control("edName")->Color();
  form->SaveColors(*form);
  form->SetRequiredFields("edName");
  form->SetRequiredFields("edName;;0");
  form->SetRequiredFields("edOther");
  EXPECT_EQ(Control("edName")->Color(), nameColor);  // put back
  EXPECT_EQ(Control("edOther")->Color(), 0xAFFFFF);

  auto* query = form->Find<TButton>("btnQuery");
  query->Click();
  EXPECT_EQ(form->queryRuns, 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"msg E000037"});

  Control("edOther")->SetText("x");
  query->Click();
  form->btnOk()->Click();
  EXPECT_EQ(form->queryRuns, 1);
  EXPECT_EQ(form->okRuns, 1);

  // An empty list unhooks the buttons: their own handlers are back.
  form->SetRequiredFields("");
  EXPECT_EQ(GetObjectMethod(form->btnOk(), "OnClick"),
            MakeMethod<&TfrmChecks::OkClick>(form.get()));
}

TEST_F(FieldChecksTest, AFailedCheckTurnsTheScheduleOff) {
  auto* period = new TSpeedButton(form.get());
  period->SetName("btnPeriod");
  period->SetParent(form->Find<TWinControl>("Panel1"));
  period->SetGroupIndex(1);
  period->SetAllowAllUp(true);
  form->SetRequiredFields("edName");
  TTabSheet* schedule = form->pgOption()->Pages(1);

  // Query checks once though the schedule is on too; the failure turns the schedule off
  // and hides its page (the failing control's page is in front by then).
  period->SetDown(true);
  form->Find<TButton>("btnQuery")->Click();
  EXPECT_TRUE(form->CheckFailed);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"msg E000037"});
  EXPECT_FALSE(period->Down());
  EXPECT_FALSE(schedule->TabVisible());
  EXPECT_EQ(form->queryRuns, 0);

  // With the schedule off its button checks nothing.
  period->Click();
  EXPECT_FALSE(form->CheckFailed);
  EXPECT_EQ(BoxTexts().size(), 1u);
}

TEST_F(FieldChecksTest, SavedColoursComeBack) {
  Control("edName")->SetColor(0x123456);
  Panel()->ListBox()->SetColor(0x654321);
  Control("spnCount")->SetColor(0x111111);
  form->SaveColors(*form);
  EXPECT_EQ(form->SavedColors.Values("edName"), std::to_string(0x123456));
  EXPECT_EQ(form->SavedColors.Values("spRange.ListBox"), std::to_string(0x654321));
  EXPECT_EQ(form->SavedColors.IndexOfName("tsOption1"), -1);  // holds controls: walked
  EXPECT_EQ(form->SavedColors.IndexOfName("spRange"), -1);    // kept by its parts

  form->SetRequiredFields("edName,spRange,spnCount");
  form->SaveColors(*form);  // the colours before any colouring stay
  form->RestoreColors(*form);
  EXPECT_EQ(Control("edName")->Color(), 0x123456);
  EXPECT_EQ(Panel()->ListBox()->Color(), 0x654321);
  EXPECT_EQ(Control("spnCount")->Color(), 0x111111);
}

TEST_F(FieldChecksTest, QuickPickAsksTheLookupWindowsDatePicker) {
  EXPECT_EQ(form->DateQuickPick("2024/01/02"), "");  // no lookup window

  auto window = std::make_shared<LookupWindow>();
  form->F2Window = Variant(DispatchPtr(window));
  UseLayout("5", "-");
  window->answer = " 20240105 ";
  EXPECT_EQ(form->DateQuickPick("20231231"), "113-01-05");
  EXPECT_TRUE(window->asked[0].asBoolean());
  EXPECT_EQ(window->asked[1].asString(), "20231231");
  EXPECT_EQ(window->asked[2].asString(), "DB01");

  window->answer = "";
  EXPECT_EQ(form->DateQuickPick("113-01-05"), "113-01-05");
  EXPECT_EQ(window->asked[1].asString(), "20240305");  // today: not an 8-character date
}

}  // namespace
}  // namespace ox
