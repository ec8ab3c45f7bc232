// The option form's field checks: the company's date layout, the colours of required
// controls, the masks and checks of date and year-month controls, and the handlers the
// form puts in place of the controls' own to run its checks first.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "controls/OxSpin.h"
#include "controls/SelectPnl.h"
#include "framework/BaseGene.h"
#include "framework/DateFields.h"
#include "lib/LibStrs.h"
#include "lib/LibVCLs.h"
#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/Machine.h"
#include "ui/Dialogs.h"
#include "ui/Edit.h"
#include "ui/EditMask.h"

namespace ox {

namespace {

// Light yellow: the background of a required control.
constexpr TColor kRequiredColor = 0xAFFFFF;

// The buttons that confirm the form and so check the required controls first.
constexpr const char* kConfirmingButtons[] = {"btnOk", "btnQuery", "btnDesign", "btnPeriod"};

// The pieces of a comma list, trimmed, empty ones left out.
std::vector<std::string> ListEntries(std::string_view list) {
  std::vector<std::string> entries;
  for (int i = 1, count = NumToken(list, ","); i <= count; ++i) {
    const std::string token = GetToken(list, ",", i);
    const std::string_view entry = TrimText(token);
    if (!entry.empty()) entries.emplace_back(entry);
  }
  return entries;
}

// Whether a comma list names the component (names compare ignoring case, as the
// components are found).
bool ListNames(std::string_view list, std::string_view name) {
  if (name.empty()) return false;
  for (const std::string& entry : ListEntries(list))
    if (SameTextAscii(entry, name)) return true;
  return false;
}

bool IsNumber(std::string_view text) {
  std::int64_t ignored = 0;
  return TryStrToInt64(text, ignored);
}

// One entry of the required list.
struct RequiredEntry {
  std::string name;
  bool checked = true;  // Flag "N" or a number: coloured only
  int part = 0;         // a panel's parts: 0 all, 1 begin, 2 final, 3 list
};

RequiredEntry ReadRequiredEntry(std::string_view entry) {
  RequiredEntry read;
  read.name = std::string(TrimText(GetToken(entry, ";", 1)));
  const std::string flag(TrimText(GetToken(entry, ";", 2)));
  read.checked = !SameTextAscii(flag, "N") && !IsNumber(flag);
  std::int64_t part = 0;
  if (TryStrToInt64(TrimText(GetToken(entry, ";", 3)), part) && part >= 0 && part <= 3)
    read.part = static_cast<int>(part);
  return read;
}

// ---- colours ----

// Visits the controls whose colours are kept, with the names they are kept under: the
// three parts of a selection panel, and every other windowed control that holds no
// controls (a spin edit counts as one control whatever it holds). Controls without a
// name cannot be told apart and are left out.
void WalkColoured(TWinControl& container,
                  const std::function<void(TControl&, std::string)>& visit) {
  for (int i = 0; i < container.ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(container.Controls(i));
    if (child == nullptr) continue;
    if (auto* panel = dynamic_cast<TSelectPanel*>(child)) {
      if (panel->Name().empty()) continue;
      visit(*panel->edBegin(), panel->Name() + ".edBegin");
      visit(*panel->edFinal(), panel->Name() + ".edFinal");
      visit(*panel->ListBox(), panel->Name() + ".ListBox");
    } else if (child->ControlCount() > 0 && dynamic_cast<TOxSpinEdit*>(child) == nullptr) {
      WalkColoured(*child, visit);
    } else if (!child->Name().empty() && CheckPropertyExist(child, "Color")) {
      visit(*child, child->Name());
    }
  }
}

void ColourPanel(TSelectPanel& panel, int part) {
  if (part == 0 || part == 1) panel.edBegin()->SetColor(kRequiredColor);
  if (part == 0 || part == 2) panel.edFinal()->SetColor(kRequiredColor);
  if (part == 0 || part == 3) panel.ListBox()->SetColor(kRequiredColor);
}

// ---- handlers put in place of the controls' own ----

// A handler kept in a store, run with the sender the replaced handler would have had.
void RunSaved(const HandlerStore& store, std::string_view control, std::string_view event,
              TObject* sender) {
  const TNotifyEvent saved(store.Saved(control, event));
  saved(sender);
}

// Puts `handler` on each event of the component, keeping what was there (the first
// kept handler stays).
void Hook(HandlerStore& store, TComponent& component, std::initializer_list<const char*> events,
          const TMethod& handler) {
  for (const char* event : events) {
    if (!CheckPropertyExist(&component, event)) continue;
    store.Save(component.Name(), event, GetObjectMethod(&component, event));
    SetObjectMethod(&component, event, handler);
  }
}

// Puts the kept handlers (none when nothing was kept) back on each event.
void Unhook(const HandlerStore& store, TComponent& component,
            std::initializer_list<const char*> events) {
  for (const char* event : events)
    if (CheckPropertyExist(&component, event))
      SetObjectMethod(&component, event, store.Saved(component.Name(), event));
}

// The company's date layout as the settings give it now.
DateSettings CurrentLayout(TfrmBaseGene& form) {
  DateSettings settings;
  settings.format = form.GetDateFormat();
  form.GetDateSeparator(settings.separator);
  return settings;
}

// Hooks or unhooks the entering and leaving handlers of the named controls; a
// selection panel also learns to read and order its values as dates.
void HookDateControls(TfrmBaseGene& form, std::string_view names) {
  const DateSettings settings = CurrentLayout(form);
  for (const std::string& name : ListEntries(names)) {
    TComponent* component = form.FindComponent(name);
    if (component == nullptr) continue;
    Hook(form.FieldEventStore, *component, {"OnEnter"}, form.OnDateFieldEnter.Method());
    Hook(form.FieldEventStore, *component, {"OnExit"}, form.OnDateFieldExit.Method());
    if (auto* panel = dynamic_cast<TSelectPanel*>(component)) {
      panel->SetValueType(TValueType::vt_Date);
      panel->SetDateSign(settings.separator);
      panel->SetDateType(PanelDateType(settings.format));
    }
  }
}

void UnhookDateControls(TfrmBaseGene& form, std::string_view names) {
  for (const std::string& name : ListEntries(names))
    if (TComponent* component = form.FindComponent(name))
      Unhook(form.FieldEventStore, *component, {"OnEnter", "OnExit"});
}

// The new names followed by those of the old list they do not repeat.
std::string MergedNames(std::string_view names, std::string_view previous) {
  std::string merged(names);
  for (const std::string& entry : ListEntries(previous)) {
    if (ListNames(merged, entry)) continue;
    if (!merged.empty()) merged += ",";
    merged += entry;
  }
  return merged;
}

// ---- what a control holds ----

// Whether a control with a text shows nothing: its trimmed text is the trimmed text of
// the control left empty (the literals, when its mask keeps them in the text).
bool ShowsNothing(const TComponent& component) {
  const EditMask mask(GetStringProperty(&component, "EditMask"));
  const std::string blank =
      mask.IsMasked() && mask.SaveLiterals() ? mask.Text(mask.BlankText()) : std::string();
  return TrimText(GetStringProperty(&component, "Text")) == TrimText(blank);
}

// A required control that is empty, with the control to focus; null when it is filled.
TWinControl* EmptyRequired(TComponent& component) {
  if (auto* panel = dynamic_cast<TSelectPanel*>(&component)) {
    if (!panel->IsRangeMode()) return panel->Items()->Count() == 0 ? panel->ListBox() : nullptr;
    return ShowsNothing(*panel->edBegin()) || ShowsNothing(*panel->edFinal()) ? panel->edBegin()
                                                                              : nullptr;
  }
  if (!CheckPropertyExist(&component, "Text") || !ShowsNothing(component)) return nullptr;
  return dynamic_cast<TWinControl*>(&component);
}

// Brings the control's tab sheet to the front and gives the control the focus.
void ShowAndFocus(TWinControl& control) {
  for (TWinControl* parent = control.Parent(); parent != nullptr; parent = parent->Parent()) {
    auto* sheet = dynamic_cast<TTabSheet*>(parent);
    if (sheet != nullptr && sheet->PageControl() != nullptr) {
      sheet->PageControl()->SetActivePage(sheet);
      break;
    }
  }
  if (control.CanFocus()) control.SetFocus();
}

// ---- date and year-month controls ----

// What differs between the date and the year-month check.
struct DateKind {
  std::string mask;   // put on panels and masked edits when entered
  std::string blank;  // put into an empty plain edit when entered
  std::function<bool(const std::string& text)> accepts;
  const char* wrongKindKey;  // the language text shown for any other kind of control
  const char* wrongKindDefault;
};

bool CheckDateKind(TfrmBaseGene& form, TControl* control, bool entering, const DateKind& kind) {
  auto* panel = dynamic_cast<TSelectPanel*>(control);
  auto* masked = dynamic_cast<TCustomMaskEdit*>(control);
  auto* edit = dynamic_cast<TEdit*>(control);
  if (panel == nullptr && masked == nullptr && edit == nullptr) {
    std::string text;
    form.GetLangText("TfrmBaseGene", kind.wrongKindKey, text, true, Gb(kind.wrongKindDefault));
    ShowMessage(text + "\r" + "TSelectPanel, TMaskedit, TEdit");
    return false;
  }
  if (entering) {
    if (panel != nullptr)
      panel->SetEditMask(kind.mask);
    else if (masked != nullptr)
      masked->SetEditMask(kind.mask);
    else if (TrimText(edit->Text()).empty())  // never over what was typed
      edit->SetText(kind.blank);
    return true;
  }
  std::vector<TWinControl*> edits;
  if (panel != nullptr)
    edits = {panel->edBegin(), panel->edFinal()};
  else
    edits = {static_cast<TWinControl*>(control)};
  for (TWinControl* checked : edits) {
    if (kind.accepts(GetStringProperty(checked, "Text"))) continue;
    form.ShowMessageCode("E;000005");
    if (checked->CanFocus()) checked->SetFocus();
    return false;
  }
  return true;
}

// Runs the check of a date or year-month control entered or left, then, when nothing
// failed, the control's own handler of that event.
void RunDateHandler(TfrmBaseGene& form, TObject* sender, bool entering) {
  const auto* component = dynamic_cast<TComponent*>(sender);
  const std::string name = component != nullptr ? component->Name() : std::string();
  auto* control = dynamic_cast<TControl*>(sender);
  if (ListNames(form.DateFieldNames, name))
    form.CheckFailed = form.CheckFailed || !form.CheckDateField(control, entering);
  else if (ListNames(form.YearMonthFieldNames, name))
    form.CheckFailed = form.CheckFailed || !form.CheckYearMonthField(control, entering);
  if (!form.CheckFailed)
    RunSaved(form.FieldEventStore, name, entering ? "OnEnter" : "OnExit", sender);
}

}  // namespace

// ---- the date layout ---------------------------------------------------------------

int TfrmBaseGene::GetDateFormat() {
  std::string text;
  GetSystemSetting("Sys001", text);
  const int format = ReadDateSettings(text, "").format;
  DateFormatCache = static_cast<std::uint32_t>(format);
  return format;
}

void TfrmBaseGene::GetDateSeparator(std::string& separator) {
  std::string text;
  GetSystemSetting("Sys002", text);
  separator = ReadDateSettings("", text).separator;
  DateSeparatorCache = separator;
}

void TfrmBaseGene::DateEditMask(std::string& mask) {
  mask = ox::DateEditMask(CurrentLayout(*this));
}

void TfrmBaseGene::YearMonthEditMask(std::string& mask) {
  mask = ox::YearMonthEditMask(CurrentLayout(*this));
}

void TfrmBaseGene::BlankDateText(std::string& text) {
  text = ox::BlankDateText(CurrentLayout(*this));
}

void TfrmBaseGene::BlankYearMonthText(std::string& text) {
  text = ox::BlankYearMonthText(CurrentLayout(*this));
}

std::string TfrmBaseGene::NormalizeDate(const std::string& text) {
  return ox::NormalizeDate(text, CurrentLayout(*this));
}

std::string TfrmBaseGene::NormalizeYearMonth(const std::string& text) {
  return ox::NormalizeYearMonth(text, CurrentLayout(*this));
}

// ---- colours -----------------------------------------------------------------------

void TfrmBaseGene::SaveColors(TWinControl& container) {
  // The first colour kept for a control stays: it is the one before any colouring.
  WalkColoured(container, [this](TControl& control, const std::string& name) {
    if (SavedColors.IndexOfName(name) < 0)
      SavedColors.Add(name + "=" + std::to_string(control.Color()));
  });
}

void TfrmBaseGene::RestoreColors(TWinControl& container) {
  WalkColoured(container, [this](TControl& control, const std::string& name) {
    std::int64_t color = 0;
    const int index = SavedColors.IndexOfName(name);
    if (index >= 0 && TryStrToInt64(SavedColors.ValueFromIndex(index), color))
      control.SetColor(static_cast<TColor>(color));
  });
}

// ---- required controls ---------------------------------------------------------------

void TfrmBaseGene::SetRequiredFields(const std::string& names) {
  const std::string trimmed(TrimText(names));
  if (!RequiredFields.empty()) {
    RestoreColors(*this);
    for (const char* name : kConfirmingButtons)
      if (TComponent* button = FindComponent(name)) Unhook(ButtonEventStore, *button, {"OnClick"});
  }
  RequiredFields = trimmed;
  const std::vector<std::string> entries = ListEntries(trimmed);
  for (const std::string& entry : entries) {
    const RequiredEntry read = ReadRequiredEntry(entry);
    TComponent* component = FindComponent(read.name);
    if (auto* panel = dynamic_cast<TSelectPanel*>(component))
      ColourPanel(*panel, read.part);
    else if (CheckPropertyExist(component, "Color"))
      SetOrdinalProperty(component, "Color", kRequiredColor);
  }
  if (entries.empty()) return;
  for (const char* name : kConfirmingButtons)
    if (TComponent* button = FindComponent(name))
      Hook(ButtonEventStore, *button, {"OnClick"}, OnRequiredExit.Method());
}

bool TfrmBaseGene::CheckRequiredEmpty(const std::string& names) {
  for (const std::string& entry : ListEntries(names)) {
    const RequiredEntry read = ReadRequiredEntry(entry);
    if (!read.checked) continue;
    TComponent* component = FindComponent(read.name);
    if (component == nullptr) continue;
    TWinControl* empty = EmptyRequired(*component);
    if (empty == nullptr) continue;
    ShowMessageCode("E;000037");
    ShowAndFocus(*empty);
    return true;
  }
  return false;
}

void TfrmBaseGene::RequiredExit(TObject* sender) {
  CheckFailed = false;
  const auto is = [this, sender](const char* name) {
    const TComponent* button = FindComponent(name);
    return button != nullptr && button == sender;
  };
  TComponent* period = FindComponent("btnPeriod");
  // OK checks; with a schedule button, so does any confirming click while the schedule
  // is on; query and design always check. One check, so one message.
  const bool check = is("btnOk") || is("btnQuery") || is("btnDesign") ||
                     (period != nullptr && GetOrdinalProperty(period, "Down") != 0);
  if (check) CheckFailed = CheckRequiredEmpty(RequiredFields);
  if (!CheckFailed) {
    const auto* component = dynamic_cast<TComponent*>(sender);
    RunSaved(ButtonEventStore, component != nullptr ? component->Name() : "", "OnClick", sender);
    return;
  }
  // The schedule page goes away again with its button up, unless it is in front.
  TExtPageControl* pages = pgOption();
  TTabSheet* last =
      pages != nullptr && pages->PageCount() > 0 ? pages->Pages(pages->PageCount() - 1) : nullptr;
  if (period != nullptr && last != nullptr && pages->ActivePage() != last) {
    SetOrdinalProperty(period, "Down", 0);
    last->SetTabVisible(false);
  }
}

// ---- date and year-month controls ------------------------------------------------------

void TfrmBaseGene::SetDateFieldNames(const std::string& names) {
  std::string trimmed(TrimText(names));
  if (trimmed == DateFieldNames) return;
  if (!DateFieldNames.empty()) UnhookDateControls(*this, DateFieldNames);
  // A derived form adds its date controls to the form's own (edPrintDate) unless it
  // names that one itself.
  if (!ListNames(trimmed, "edPrintDate")) trimmed = MergedNames(trimmed, DateFieldNames);
  DateFieldNames = trimmed;
  HookDateControls(*this, DateFieldNames);
}

void TfrmBaseGene::SetYearMonthFieldNames(const std::string& names) {
  const std::string trimmed(TrimText(names));
  if (trimmed == YearMonthFieldNames) return;
  if (!YearMonthFieldNames.empty()) UnhookDateControls(*this, YearMonthFieldNames);
  YearMonthFieldNames = trimmed;
  HookDateControls(*this, YearMonthFieldNames);
}

bool TfrmBaseGene::CheckDateField(TControl* control, bool entering) {
  const DateSettings settings = CurrentLayout(*this);
  const DateKind kind{ox::DateEditMask(settings), ox::BlankDateText(settings),
                      [&settings](const std::string& text) {
                        return IsValidDateText(ox::NormalizeDate(text, settings));
                      },
                      "sDatePramError", "判断日期的函数第一个参数错误, 只能传下列三种物件:"};
  return CheckDateKind(*this, control, entering, kind);
}

bool TfrmBaseGene::CheckYearMonthField(TControl* control, bool entering) {
  const DateSettings settings = CurrentLayout(*this);
  const DateKind kind{ox::YearMonthEditMask(settings), ox::BlankYearMonthText(settings),
                      [&settings](const std::string& text) {
                        return YearMonthIsBlank(text, settings) ||
                               IsValidDateText(ox::NormalizeYearMonth(text, settings) + "01");
                      },
                      "sYMPramError", "判断年月的函数第一个参数错误, 只能传下列三种物件:"};
  return CheckDateKind(*this, control, entering, kind);
}

void TfrmBaseGene::DateFieldEnter(TObject* sender) {
  CheckFailed = false;
  RunDateHandler(*this, sender, true);
}

void TfrmBaseGene::DateFieldExit(TObject* sender) {
  // Leaving for Cancel checks nothing.
  const TWinControl* active = ActiveControl();
  if (active != nullptr && active == btnCancel()) return;
  CheckFailed = false;
  RunDateHandler(*this, sender, false);
}

std::string TfrmBaseGene::DateQuickPick(const std::string& text) {
  if (F2Window.isEmpty() || F2Window.isNull()) return "";
  const DateSettings settings = CurrentLayout(*this);
  std::string answer;
  try {
    answer = VarToStr(
        OleCall(F2Window, "ShowInputDay",
                {VarArrayOf({settings.format > 3, DateQuickPickStart(text, Now()), DbName})}));
  } catch (const std::exception&) {
    answer.clear();  // no answer: the text stays
  }
  return DateQuickPickResult(answer, text, settings);
}

void TfrmBaseGene::RunExitCheck(TWinControl* control) {
  if (control == nullptr) return;
  TWinControl* target = control;
  if (auto* panel = dynamic_cast<TSelectPanel*>(control->Owner())) target = panel;
  CheckFailed = false;
  target->OnExit(target);
}

}  // namespace ox
