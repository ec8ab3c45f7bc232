#include "framework/BaseGene.h"

#include <algorithm>

#include "controls/OxRadioGroup.h"
#include "controls/SelectPnl.h"
#include "framework/FrameworkClasses.h"
#include "lib/LibStrs.h"
#include "lib/LibVCLs.h"
#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/Machine.h"
#include "platform/WinPath.h"
#include "ui/ComboBox.h"
#include "ui/Grid.h"
#include "ui/Memo.h"

namespace ox {

namespace {

// The option form: scheme panel at the left, the option pages, OK and Cancel below,
// and the application-server connection with the scheme data set. Captions in GB
// characters as numbered escapes.
constexpr std::string_view kBaseGeneResource = R"(inherited frmBaseGene: TfrmBaseGene
  Width = 509
  Height = 355
  BorderIcons = [biMaximize]
  Caption = 'frmBaseGene'
  KeyPreview = True
  OnClose = FormClose
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnKeyDown = FormKeyDown
  OnKeyPress = FormKeyPress
  OnResize = FormResize
  OnShow = FormShow
  object pnlCondition: TPanel
    Align = alLeft
    Width = 151
    object lblCondition: TLabel
      Caption = ' '#26465#20214#26041#26696
    end
    object ToolBar1: TToolBar
      Top = 16
      Images = ImageList1
      object btnInsert: TToolButton
        Caption = #20445#23384'(&S)'
      end
      object btnOpen: TToolButton
        Caption = #24320#21551'(&O)'
      end
      object btnDelete: TToolButton
        Caption = #21024#38500'(&D)'
      end
      object ToolButton1: TToolButton
        Style = tbsDropDown
        DropdownMenu = mnList
      end
    end
    object lstCondition: TListView
      Align = alClient
      SortType = stText
      PopupMenu = muOperation
    end
  end
  object muOperation: TPopupMenu
  end
  object mnList: TPopupMenu
  end
  object ImageList1: TImageList
  end
  object ImageList2: TImageList
  end
  object Splitter1: TSplitter
    Left = 151
  end
  object Panel1: TPanel
    Align = alBottom
    Height = 43
    object btnOk: TButton
      Left = 300
      Top = 10
      Caption = #30830#23450
      OnClick = btnOkClick
      TabOrder = 0
    end
    object btnCancel: TButton
      Left = 400
      Top = 10
      Cancel = True
      Caption = #21462#28040
      ModalResult = 2
      OnClick = btnCancelClick
      TabOrder = 1
    end
  end
  object pgOption: TExtPageControl
    Align = alClient
    Hint = #35831#36755#20837#36873#39033#26465#20214
    OnChange = pgOptionChange
    OnChanging = pgOptionChanging
    object tsOption1: TTabSheet
      Caption = #22522#26412#36873#39033
    end
    object tsOption2: TTabSheet
      Caption = #31995#32479#36873#39033
      OnShow = tsOption2Show
      object edPrintDate: TMaskEdit
        Left = 60
        Top = 8
        Width = 85
        Hint = '[F2]'#26085#26399#24555#25163
        TabOrder = 0
      end
      object lblToday: TDBLabel
        Left = 8
        Top = 12
        Caption = #21046#34920#26085#26399
        FocusControl = edPrintDate
      end
      object btnPrintDate: TF2Button
        Left = 150
        Top = 8
        Hint = #26085#26399#24555#25163
        F2Control = edPrintDate
      end
    end
  end
  object MainMidas: TSocketConnection
    SupportCallbacks = False
  end
  object ObjBroker: TSimpleObjectBroker
  end
  object ClientDataSet1: TClientDataSet
    ProviderName = 'pvdConSave'
    RemoteServer = MainMidas
  end
end
)";

// The run value names only controls that carry a value.
bool CarriesValue(const TComponent* component) {
  if (component == nullptr) return false;
  if (dynamic_cast<const TSelectPanel*>(component) != nullptr) return true;
  if (dynamic_cast<const TComboBox*>(component) != nullptr) return true;
  for (const char* property : {"ItemIndex", "Checked", "Text", "Lines"})
    if (CheckPropertyExist(component, property)) return true;
  return false;
}

// Enter in a grid: the next column, or the first column of the next row (a new row
// after the last).
void NextCell(TCustomGrid& grid) {
  if (grid.Col() < grid.ColCount() - 1) {
    grid.SetCol(grid.Col() + 1);
    return;
  }
  if (grid.Row() == grid.RowCount() - 1) grid.SetRowCount(grid.RowCount() + 1);
  grid.SetRow(grid.Row() + 1);
  grid.SetCol(grid.FixedCols());
}

// The caption: the program, the edition text of product 5, the company in brackets.
std::string FormCaption(const TfrmBaseGene& form, const std::string& program) {
  std::string caption = program;
  if (form.ProductID == 5) {
    std::string edition;
    form.GetLangText("TfrmBaseGene", "sPublicVer", edition, true, Gb("-普及版"));
    caption += edition;
  }
  return caption + "[" + form.CompanyTitle + "]";
}

// On a Big5 system the program's name, read in GB, is shown in Big5 once the form's
// texts are converted; the executable says what it is.
void CaptionInBig5(TfrmBaseGene& form) {
  std::string codePage;
  form.GetCodePage(codePage);
  const TCodeConverter* converter = form.OxConverter();
  if (codePage != "950" || converter == nullptr) return;
  form.ProgramCaption = converter->GBToBig5(form.ProgramCaption);
  std::string program = form.ProgramCaption;
  if (!form.IsDllBuild()) {
    std::string exe;
    form.GetLangText("TfrmBaseGene", "sExeVer", exe, true, Gb("[您现在运行的是Exe版本!]"));
    program += exe;
  }
  form.SetCaption(FormCaption(form, program));
}

}  // namespace

const ClassInfo& TfrmBaseGene::StaticClassInfo() {
  using F = TfrmBaseGene;
  static const ClassInfo info = ClassBuilder<F>("TfrmBaseGene", &TOxForm::StaticClassInfo())
                                    .handler<&F::FormCreate>("FormCreate")
                                    .handler<&F::FormShow>("FormShow")
                                    .handler<&F::FormClose>("FormClose")
                                    .handler<&F::FormDestroy>("FormDestroy")
                                    .handler<&F::FormKeyDown>("FormKeyDown")
                                    .handler<&F::FormKeyPress>("FormKeyPress")
                                    .handler<&F::FormResize>("FormResize")
                                    .handler<&F::btnOkClick>("btnOkClick")
                                    .handler<&F::btnCancelClick>("btnCancelClick")
                                    .handler<&F::pgOptionChange>("pgOptionChange")
                                    .handler<&F::pgOptionChanging>("pgOptionChanging")
                                    .handler<&F::tsOption2Show>("tsOption2Show")
                                    .handler<&F::DateFieldEnter>("DateFieldEnter")
                                    .handler<&F::DateFieldExit>("DateFieldExit")
                                    .handler<&F::RequiredExit>("RequiredExit")
                                    .event("OnDateFieldEnter", &F::OnDateFieldEnter)
                                    .event("OnDateFieldExit", &F::OnDateFieldExit)
                                    .event("OnRequiredExit", &F::OnRequiredExit)
                                    .build();
  return info;
}

TfrmBaseGene::TfrmBaseGene(TComponent* owner) : TOxForm(owner) {}

TfrmBaseGene::~TfrmBaseGene() = default;

void TfrmBaseGene::ResourceTexts(std::vector<std::string_view>& texts) const {
  TOxForm::ResourceTexts(texts);
  texts.push_back(kBaseGeneResource);
}

TExtPageControl* TfrmBaseGene::pgOption() const {
  return dynamic_cast<TExtPageControl*>(FindComponent("pgOption"));
}
TButton* TfrmBaseGene::btnOk() const {
  return dynamic_cast<TButton*>(FindComponent("btnOk"));
}
TButton* TfrmBaseGene::btnCancel() const {
  return dynamic_cast<TButton*>(FindComponent("btnCancel"));
}
TMaskEdit* TfrmBaseGene::edPrintDate() const {
  return dynamic_cast<TMaskEdit*>(FindComponent("edPrintDate"));
}
TSocketConnection* TfrmBaseGene::MainMidas() const {
  return dynamic_cast<TSocketConnection*>(FindComponent("MainMidas"));
}

// ---- creation and initialisation ----------------------------------------------------

void TfrmBaseGene::FormCreate(TObject* sender) {
  TOxForm::FormCreate(sender);
  Application().SetHintHidePause(500000);
  Version = "870401-0.00.00";
  CompanyID.clear();
  ProgramCode.clear();
  ProgramName.clear();
  CheckFailed = false;
  SystemPageReady = false;
  LastFocused = this;
  InPageChange = false;
  ShowSubmitMessage = true;
  ConvertDataSets();
  for (int i = 0; i < ComponentCount(); ++i) {
    if (CheckPropertyExist(Components(i), "ImeName"))
      SetStringProperty(Components(i), "ImeName", "");
    if (auto* button = dynamic_cast<TF2Button*>(Components(i))) button->SetFlat(true);
  }
}

void TfrmBaseGene::ConvertDataSets() {
  const TCodeConverter* converter = OxConverter();
  if (converter == nullptr) return;
  for (int i = 0; i < ComponentCount(); ++i) {
    auto* dataSet = dynamic_cast<TClientDataSet*>(Components(i));
    if (dataSet == nullptr) continue;
    dataSet->DisableControls();
    for (int f = 0; f < dataSet->FieldCount(); ++f) {
      TField* field = dataSet->Fields()[f];
      field->SetDisplayLabel(VarToStr(converter->ConvertUIString(Variant(field->DisplayLabel()))));
      const bool text =
          field->DataType() == TFieldType::ftString || field->DataType() == TFieldType::ftMemo;
      if (text && !field->OnGetText && !field->OnSetText) {
        field->OnGetText = MakeMethod<&TfrmBaseGene::ConvertedFieldText>(this);
        field->OnSetText = MakeMethod<&TfrmBaseGene::RecoveredFieldText>(this);
      }
    }
    dataSet->EnableControls();
  }
}

void TfrmBaseGene::ConvertedFieldText(TField* sender, std::string& text, bool) {
  text = VarToStr(OxConverter()->ConvertUIString(Variant(sender->AsString())));
}

void TfrmBaseGene::RecoveredFieldText(TField* sender, const std::string& text) {
  sender->SetAsString(VarToStr(OxConverter()->RecoverUIString(Variant(text))));
}

bool TfrmBaseGene::InitForm(const Variant& params) {
  if (!CompanyID.empty()) return false;
  try {
    SettingsCache.Clear();
    PageEndControls.clear();
    F2Window = Variant();
    Validator = Variant();
    Counter = Variant();
    BaseEntryCount = 1;
    Messages.Clear();
    if (TMaskEdit* edit = edPrintDate()) edit->SetText("");
    LastRunValue = Variant::Null();
    UseNames = true;
    AutoConfirm = false;

    const int high = params.isArray() ? VarArrayHighBound(params, 1) : -1;
    HostWindow = high > 2 ? reinterpret_cast<HWND>(params[3].asInt64()) : nullptr;
    if (high < 4) {
      ShowMessageCode("E;000038");
      PostClose();
    } else {
      HostParam4 = params[4];
    }
    Hide();
    UserID = high >= 0 ? params[0].asString() : std::string();
    CompanyID = high >= 1 ? params[1].asString() : std::string();
    DbName = high >= 2 ? params[2].asString() : std::string();
    InitEnvironment();

    // "frmMVAR52" names program "MVA...": characters 4 to 6 against 1 to 3.
    const std::string formPart =
        UpperAscii(Name().substr(std::min<std::size_t>(3, Name().size()), 3));
    if (formPart != UpperAscii(ProgramCode.substr(0, 3))) {
      ShowMessageCode("E;000036");
      PostClose();
      return true;
    }
    if (TSocketConnection* connection = MainMidas()) connection->Close();
    bool connected = LoadServerAddress();
    if (connected) {
      if (TSocketConnection* connection = MainMidas()) {
        SetupConnection(*connection);
        if (!connection->ServerName().empty()) connected = ConnectServer();
      }
    }
    if (!connected) {
      ShowMessageCode("E;000006");
      PostClose();
      return false;
    }
    return true;
  } catch (const std::exception& error) {
    AddMessageText(error.what());
    return false;
  }
}

void TfrmBaseGene::InitEnvironment() {
  SaveColors(*this);
  ConnectHostObjects();
  try {
    HostVersionType = OleCall(HostObject, "VersionType", {}).asInteger();
  } catch (const std::exception&) {
    HostVersionType = 0;
  }
  try {
    ProductID = static_cast<unsigned>(OleCall(HostObject, "ProductID", {}).asInteger());
  } catch (const std::exception&) {
    ProductID = 3;
  }
  InitProgram();
  ConnectF2Window();
}

void TfrmBaseGene::InitProgram() {
  SetDateFieldNames("edPrintDate");
  JobKind = "R";
  HeaderCount = 9;
  // "...\MVAR52C.so": the name without extension, less the library's trailing "C" (less
  // two characters for the executable), at least six characters.
  const std::string name = ExtractFileName(ChangeFileExt(ModulePath, ""));
  const std::size_t drop = IsDllBuild() ? 1 : 2;
  const std::size_t length = std::max<std::size_t>(name.size() > drop ? name.size() - drop : 0,
                                                   std::min<std::size_t>(6, name.size()));
  SetProgramCode(name.substr(0, length));
  F2Flags = 0;
  AddEntries(0);
}

void TfrmBaseGene::SetModulePath(const std::string& path) {
  ModulePath = path;
  if (!IsDllBuild()) {
    const Variant params = VarArrayOf({kTestUserID, kTestCompany, kTestCompany, 0, Variant()});
    InitForm(params);
  }
}

bool TfrmBaseGene::IsDllBuild() const {
  const std::string extension = UpperAscii(ExtractFileExt(ModulePath));
  return extension == ".SO" || extension == ".DLL";
}

void TfrmBaseGene::SetProgramCode(const std::string& code) {
  ProgramCode = UpperAscii(code);
  ServerProgID = ProgramCode + "S.Class1";
  ReadProgramMaster();
  ProgramCaption = ProgramName;
}

void TfrmBaseGene::AddEntries(int count) {
  EntryCount = count + (BaseEntryCount < EntryCount ? 0 : BaseEntryCount);
}

void TfrmBaseGene::PostClose() {
  PostMessage(Handle(), WM_CLOSE, 0, 0);
}

// ---- running on the host's request ---------------------------------------------------

bool TfrmBaseGene::ApplyHostValues(const Variant&) {
  return false;
}

bool TfrmBaseGene::HostCommand(int) {
  return true;
}

bool TfrmBaseGene::ValuesNameControls(const Variant& values) {
  const Variant& names = values[VarArrayLowBound(values, 1)];
  if (!names.isArray()) return false;
  for (int i = VarArrayLowBound(names, 1); i <= VarArrayHighBound(names, 1); ++i) {
    const Variant& entry = names[i];
    if (!entry.isArray() || VarArrayHighBound(entry, 1) < 1) return false;
    if (!CarriesValue(FindComponent(entry[1].asString()))) return false;
  }
  return true;
}

void TfrmBaseGene::HostRun(const Variant& runPair) {
  const Variant value =
      runPair.isArray() && VarArrayHighBound(runPair, 1) >= 1 ? runPair[1] : Variant();
  LastRunValue = value;
  if (!value.isArray() || VarArrayHighBound(value, 1) < 0) return;
  const int mode = value[0].asInteger();
  ShowSubmitMessage = mode == 0 || mode == 1;
  AutoConfirm = false;
  bool ok = false;
  if (VarArrayHighBound(value, 1) >= 1 && value[1].isArray() &&
      VarArrayHighBound(value[1], 1) >= 1) {
    UseNames = value[1][0].asBoolean();
    const Variant& values = value[1][1];
    if (values.isArray() && VarArrayHighBound(values, 1) >= VarArrayLowBound(values, 1)) {
      if (UseNames) {
        ok = ValuesNameControls(values);
        if (!ok) ShowMessageCode("W;000014");
      } else {
        ok = ApplyHostValues(values);
      }
    }
    AutoConfirm = ok && mode != 0;
  }
  if (!Converted()) {
    ConvertTexts();
    CaptionInBig5(*this);
  }
  if (mode > 2 && ok)
    HostCommand(mode);
  else if (AutoConfirm && btnOk() != nullptr)
    btnOk()->Click();
}

// ---- showing, closing, keys -----------------------------------------------------------

void TfrmBaseGene::FormShow(TObject* sender) {
  TOxForm::FormShow(sender);
  SetCaption(FormCaption(*this, ProgramCaption));
  if (TExtPageControl* pages = pgOption(); pages != nullptr && pages->PageCount() > 0) {
    pages->SetActivePageIndex(0);
    pgOptionChange(pages);
  }
  ConvertTexts();
}

void TfrmBaseGene::FormClose(TObject*, TCloseAction& action) {
  action = TCloseAction::caFree;
}

void TfrmBaseGene::FormDestroy(TObject*) {
  PageEndControls.clear();
  SettingsCache.Clear();
  F2Window = Variant();
  Validator = Variant();
  Counter = Variant();
  if (!LocalServer) {
    if (TSocketConnection* connection = MainMidas()) connection->Close();
  }
  AppServer = Variant();
  HostObject = Variant();
}

void TfrmBaseGene::FormResize(TObject*) {
  if (HostWindow != nullptr) UpdateWindow(HostWindow);
}

void TfrmBaseGene::btnOkClick(TObject*) {}

void TfrmBaseGene::btnCancelClick(TObject*) {
  ResultCode = 2;
  Close();
}

void TfrmBaseGene::FormKeyDown(TObject*, std::uint16_t& key, TShiftState shift) {
  const TShiftState modifiers = shift & (ssShift | ssCtrl | ssAlt);
  switch (key) {
    case VK_ESCAPE:
      Close();
      return;
    case VK_F1:
      ShowHelp();
      return;
    case VK_F2:
      F2KeyPressed(113, ActiveControl());
      return;
    case 'V':
      if (modifiers == (ssCtrl | ssAlt)) ShellExecute("properties", ModulePath);
      return;
    case VK_TAB:
      if (modifiers == (ssCtrl | ssShift) || modifiers == ssCtrl) {
        MovePage(modifiers == ssCtrl);
        key = 0;
      }
      return;
    case VK_PRIOR:
    case VK_NEXT:
      if (modifiers == ssCtrl) {
        MovePage(key == VK_NEXT);
        key = 0;
      }
      return;
    default:
      return;
  }
}

void TfrmBaseGene::MovePage(bool forward) {
  if (TExtPageControl* pages = pgOption()) pages->SelectNextPage(forward);
}

// Enter moves on: to the next cell of a grid, the next control, or at a page-end control
// the next page; a memo keeps it in its first two lines.
void TfrmBaseGene::FormKeyPress(TObject*, char& key) {
  if (key != '\r') return;
  TWinControl* active = ActiveControl();
  if (active == nullptr) return;
  const auto* memo = dynamic_cast<const TCustomMemo*>(active);  // the caret's line counts
  const int line = memo != nullptr ? memo->CaretPos().Y : 0;
  if (auto* grid = dynamic_cast<TCustomGrid*>(active)) {
    key = 0;
    NextCell(*grid);
    return;
  }
  TWinControl* owner = active;
  if (auto* panel = dynamic_cast<TSelectPanel*>(active->Owner())) owner = panel;
  if (auto* group = dynamic_cast<TOxRadioGroup*>(active->Parent())) owner = group;
  const bool pageEnd =
      std::find(PageEndControls.begin(), PageEndControls.end(), owner) != PageEndControls.end();
  if (memo != nullptr && line < 2) return;
  key = 0;
  if (!pageEnd) {
    SelectNext(active, true, true);
    return;
  }
  TExtPageControl* pages = pgOption();
  if (pages != nullptr && pages->ActivePageIndex() < pages->PageCount() - 1) MovePage(true);
}

// F1: help topic from the program code ("MVAR52": "1" + "2" + "52" + "0000"; "CSTMB11":
// "8" + "3" + "11" + "0000").
bool TfrmBaseGene::ShowHelp() {
  const std::string& code = ProgramCode;
  if (code.size() < 4) return false;
  char d = UpperAscii(code[3]);
  std::string topic = "1";
  if (d == 'A' || d == 'M') {
    topic = d == 'A' ? "6" : "8";
    d = code.size() > 4 ? UpperAscii(code[4]) : '\0';
  }
  if (d == 'B')
    topic += "3";
  else if (d == 'R')
    topic += "2";
  else
    return false;
  topic += code.substr(code.size() - 2) + "0000";
  try {
    OleCall(HostObject, "CallHelp", {VarArrayOf({code.substr(0, 3), topic})});
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

// ---- pages and lookups ------------------------------------------------------------------

void TfrmBaseGene::SelectFirstControl() {
  TExtPageControl* pages = pgOption();
  TTabSheet* page = pages != nullptr ? pages->ActivePage() : nullptr;
  if (page == nullptr || !Showing()) return;
  for (int order = 0;; ++order) {
    bool any = false;
    for (TWinControl* control : page->TabOrderList()) {
      if (control->TabOrder() != order) continue;
      any = true;
      if (!control->CanFocus()) continue;
      if (auto* panel = dynamic_cast<TSelectPanel*>(control)) {
        TWinControl* target =
            panel->IsRangeMode() ? static_cast<TWinControl*>(panel->edBegin()) : panel->ListBox();
        if (target->CanFocus()) target->SetFocus();
      } else {
        control->SetFocus();
      }
      return;
    }
    if (!any) return;
  }
}

void TfrmBaseGene::pgOptionChange(TObject*) {
  SelectFirstControl();
}

void TfrmBaseGene::pgOptionChanging(TObject*, bool& allowChange) {
  InPageChange = true;
  if (TWinControl* active = ActiveControl()) RunExitCheck(active);
  InPageChange = false;
  allowChange = !CheckFailed;
}

void TfrmBaseGene::tsOption2Show(TObject*) {
  if (SystemPageReady) return;
  InitSystemPage();
  SystemPageReady = true;
}

void TfrmBaseGene::InitSystemPage() {
  if (auto* page = dynamic_cast<TTabSheet*>(FindComponent("tsOption2"))) {
    page->SetParentFont(true);
    page->Font()->SetSize(9);
  }
  if (Width() < 315) SetWidth(315);
  if (Height() < 110) SetHeight(110);
  if (auto* label = dynamic_cast<TControl*>(FindComponent("lblToday")))
    label->SetBounds(8, 12, label->Width(), label->Height());
  if (TMaskEdit* edit = edPrintDate()) edit->SetBounds(60, 8, 85, edit->Height());
  if (auto* button = dynamic_cast<TF2Button*>(FindComponent("btnPrintDate")))
    button->SetF2Control(edPrintDate());
}

void TfrmBaseGene::F2KeyPressed(std::uint16_t, TWinControl* control) {
  if (control == nullptr) return;
  if (control->CanFocus() && control->Showing()) control->SetFocus();
  if (TMaskEdit* edit = edPrintDate(); edit != nullptr && control == edit) {
    const std::string picked = DateQuickPick(edit->Text());
    if (!picked.empty()) edit->SetText(picked);  // "": no lookup window
  }
}

void TfrmBaseGene::PickPhrase(TWinControl& control) {
  Variant user(UserID), database(DbName);
  try {
    const Variant phrase =
        OleCall(F2Window, "GetPhrase",
                {ByRef(user), ByRef(database),
                 static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(Handle()))});
    std::string text = VarToStr(phrase);
    if (text.empty()) return;
    if (Converted() && OxConverter() != nullptr)
      text = VarToStr(OxConverter()->RecoverUIString(Variant(text)));
    control.SetText(text);
  } catch (const std::exception&) {
  }
}

void TfrmBaseGene::FocusChanged(TWinControl* control) {
  TOxForm::FocusChanged(control);
  LastFocused = control;
}

bool TfrmBaseGene::DialogKey(std::uint16_t key, TShiftState shift) {
  if (key == VK_ESCAPE) return false;
  return TOxForm::DialogKey(key, shift);
}

LRESULT TfrmBaseGene::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_OPENWIN) {
    F2KeyPressed(113, reinterpret_cast<TWinControl*>(lParam));
    return 0;
  }
  return TOxForm::WindowProc(message, wParam, lParam);
}

}  // namespace ox
