#include "ui/Forms.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "ui/FormReader.h"

namespace ox {

namespace {

const std::vector<std::string> kPositionNames{
    "poDesigned",     "poDefault",       "poDefaultPosOnly", "poDefaultSizeOnly",
    "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};
const std::vector<std::string> kWindowStateNames{"wsNormal", "wsMinimized", "wsMaximized"};
const std::vector<std::string> kBorderStyleNames{"bsNone",   "bsSingle",     "bsSizeable",
                                                 "bsDialog", "bsToolWindow", "bsSizeToolWin"};
const std::vector<std::string> kBorderIconNames{"biSystemMenu", "biMinimize", "biMaximize",
                                                "biHelp"};

}  // namespace

// ---- TCustomForm -----------------------------------------------------------

const ClassInfo& TCustomForm::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TCustomForm>("TCustomForm", &TCustomControl::StaticClassInfo())
          .property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview)
          .object<TWinControl>("ActiveControl", &TCustomForm::ActiveControl,
                               &TCustomForm::SetActiveControl)
          .enumeration("Position", &TCustomForm::Position, &TCustomForm::SetPosition,
                       kPositionNames)
          .set("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
               kBorderIconNames)
          .enumeration("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle,
                       kBorderStyleNames)
          .enumeration("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState,
                       kWindowStateNames)
          .property("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult)
          .property("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled)
          .property("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch)
          .event("OnCreate", &TCustomForm::OnCreate)
          .event("OnDestroy", &TCustomForm::OnDestroy)
          .event("OnShow", &TCustomForm::OnShow)
          .event("OnHide", &TCustomForm::OnHide)
          .event("OnActivate", &TCustomForm::OnActivate)
          .event("OnResize", &TCustomForm::OnResize)
          .event("OnClose", &TCustomForm::OnClose)
          .event("OnCloseQuery", &TCustomForm::OnCloseQuery)
          .build();
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TCustomControl(owner) {
  InitVisible(false);
  Screen().AddForm(this);
}

TCustomForm::~TCustomForm() {
  Screen().RemoveForm(this);
}

void TCustomForm::AfterConstruction() {
  std::vector<std::string_view> texts;
  ResourceTexts(texts);
  // An unnamed form takes the name of the most derived resource: each resource of the
  // chain names it afresh.
  const bool named = !Name().empty();
  for (std::string_view text : texts) {
    if (!named) SetName("");
    ReadComponentResource(*this, text);
  }
  OnCreate(this);
}

TCustomForm* CreateFormOfClass(const ClassInfo& info, TComponent* owner) {
  TComponent* made = info.Create(owner);
  auto* form = dynamic_cast<TCustomForm*>(made);
  if (form == nullptr) {
    if (made != nullptr) made->Free();
    return nullptr;
  }
  return CompleteForm(form);
}

TCustomForm* CompleteForm(TCustomForm* form) {
  try {
    form->AfterConstruction();
  } catch (...) {
    form->Free();
    throw;
  }
  return form;
}

void TCustomForm::ResourceTexts(std::vector<std::string_view>& texts) const {
  if (const std::string_view text = ResourceText(); !text.empty()) texts.push_back(text);
}

void TCustomForm::BeforeDestruction() {
  if (Visible()) Hide();
  OnDestroy(this);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == focused_.get()) return;
  if (control != nullptr &&
      (control == this || control->ParentForm() != this || (!IsLoading() && !control->CanFocus())))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (active_ && control != nullptr) {
    SetFocusWindow(control->Handle());
  } else {
    focused_ = control;
  }
}

void TCustomForm::SetWindowState(TWindowState value) {
  windowState_ = value;
}

void TCustomForm::Show() {
  SetVisible(true);
  Activate();
}

void TCustomForm::Hide() {
  SetVisible(false);
}

namespace {

// A shown form's windowed controls have their windows, as on screen, so that automation
// finds every one of them by name.
void CreateChildHandles(TWinControl& parent) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    if (auto* child = dynamic_cast<TWinControl*>(parent.Controls(i))) {
      child->Handle();
      CreateChildHandles(*child);
    }
  }
}

}  // namespace

void TCustomForm::VisibleChanged() {
  if (Visible()) {
    Handle();
    CreateChildHandles(*this);
    OnShow(this);
  } else {
    active_ = false;
    OnHide(this);
    if (Screen().ActiveForm() == this) Screen().SetActive(nullptr, nullptr);
  }
}

void TCustomForm::BoundsChanged() {
  TCustomControl::BoundsChanged();
  OnResize(this);
}

// The shown form becomes the active one and its focus goes to the active control,
// else to the first control of the tab order.
void TCustomForm::Activate() {
  if (!Visible()) return;
  active_ = true;
  Screen().SetActive(this, focused_.get());
  OnActivate(this);
  TWinControl* target = focused_.get();
  if (target == nullptr || !target->CanFocus())
    target = FindNextControl(nullptr, true, true, false);
  SetFocusWindow(target != nullptr ? target->Handle() : Handle());
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (control == nullptr || !control->CanFocus() || control->ParentForm() != this)
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (!Visible() || !Enabled()) {
    focused_ = control;
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  }
  active_ = true;
  SetFocusWindow(control->Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == focused_.get() && entered_ == control) return;
  focused_ = control;
  const unsigned change = ++focusChanges_;
  // OnExit of the controls being left, innermost first; a handler that moves the
  // focus elsewhere ends this change.
  while (entered_ != this && entered_ != nullptr && !entered_->ContainsControl(control)) {
    entered_->DoExit();
    if (change != focusChanges_) return;
    entered_ = entered_->Parent() != nullptr ? entered_->Parent() : this;
  }
  // OnEnter of the controls being entered, outermost first.
  while (entered_ != control) {
    TWinControl* next = control;
    while (next->Parent() != entered_ && next->Parent() != nullptr)
      next = next->Parent();
    entered_ = next;
    next->DoEnter();
    if (change != focusChanges_) return;
  }
  Screen().SetActive(this, control);
  FocusChanged(control);
}

TWinControl* TCustomForm::FindNextControl(TWinControl* current, bool forward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list = TabOrderList();
  if (list.empty()) return nullptr;
  if (!forward) std::reverse(list.begin(), list.end());
  auto start = std::find(list.begin(), list.end(), current);
  const std::size_t count = list.size();
  std::size_t index =
      start == list.end() ? count - 1 : static_cast<std::size_t>(start - list.begin());
  for (std::size_t step = 0; step < count; ++step) {
    index = (index + 1) % count;
    TWinControl* candidate = list[index];
    if (candidate == current) break;
    if (candidate->CanFocus() && (!checkTabStop || candidate->TabStop()) &&
        (!checkParent || current == nullptr || candidate->Parent() == current->Parent()))
      return candidate;
  }
  return nullptr;
}

void TCustomForm::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, forward, checkTabStop, !checkTabStop))
    next->SetFocus();
}

bool TCustomForm::DialogKey(std::uint16_t key, TShiftState shift) {
  if ((shift & ssAlt) == 0) {
    if (key == VK_TAB && (shift & ssCtrl) == 0) {
      SelectNext(ActiveControl(), (shift & ssShift) == 0, true);
      return true;
    }
    const bool arrow = key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN;
    if (arrow && ActiveControl() != nullptr) {
      SelectNext(ActiveControl(), key == VK_RIGHT || key == VK_DOWN, false);
      return true;
    }
  }
  return TCustomControl::DialogKey(key, shift);
}

void TCustomForm::ControlRemoved(TControl* control) {
  const auto* windowed = dynamic_cast<const TWinControl*>(control);
  if (windowed == nullptr) return;
  if (focused_.get() != nullptr && windowed->ContainsControl(focused_.get())) focused_ = nullptr;
  if (entered_ != this && windowed->ContainsControl(entered_)) entered_ = this;
}

void TCustomForm::KeyDown(std::uint16_t& key, TShiftState shift) {
  OnKeyDown(this, key, shift);
}
void TCustomForm::KeyPress(char& key) {
  OnKeyPress(this, key);
}

LRESULT TCustomForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      Close();
      return 0;
    case CM_RELEASE:
      Free();
      return 0;
    default:
      return TCustomControl::WindowProc(message, wParam, lParam);
  }
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
  OnClose(this, action);
}

void TCustomForm::Close() {
  if (modal_) {
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::caHide;
  DoClose(action);
  switch (action) {
    case TCloseAction::caHide:
      Hide();
      break;
    case TCloseAction::caMinimize:
      SetWindowState(TWindowState::wsMinimized);
      break;
    case TCloseAction::caFree:
      Release();
      break;
    case TCloseAction::caNone:
      break;
  }
}

void TCustomForm::Release() {
  if (releasing_) return;
  releasing_ = true;
  PostMessage(Handle(), CM_RELEASE, 0, 0);
}

// Ends a modal loop whose modal result is set: false when OnCloseQuery or OnClose
// keep the form open.
bool TCustomForm::CloseModal() {
  TCloseAction action = TCloseAction::caNone;
  if (CloseQuery()) {
    action = TCloseAction::caHide;
    DoClose(action);
  }
  if (action == TCloseAction::caNone) return false;
  if (action == TCloseAction::caFree) Release();
  return true;
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
  modalResult_ = mrNone;
  modal_ = true;
  ComponentRef<TCustomForm> self(this);
  Show();
  while (true) {
    Application().ProcessMessages();
    if (self.get() == nullptr) return mrCancel;  // freed by a handler meanwhile
    if (modalResult_ != mrNone) {
      if (CloseModal()) break;
      modalResult_ = mrNone;
      continue;
    }
    if (!HasQueuedMessages() && !Application().DriveModal(*this)) modalResult_ = mrCancel;
  }
  modal_ = false;
  Hide();
  return modalResult_;
}

// ---- TForm -----------------------------------------------------------------

const ClassInfo& TForm::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TForm>("TForm", &TCustomForm::StaticClassInfo()).creatable().build();
  return info;
}

// ---- TApplication ----------------------------------------------------------

const ClassInfo& TApplication::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TApplication>("TApplication", &TComponent::StaticClassInfo())
          .property("Title", &TApplication::Title, &TApplication::SetTitle)
          .property("HintPause", &TApplication::HintPause, &TApplication::SetHintPause)
          .property("ShowHint", &TApplication::ShowHint, &TApplication::SetShowHint)
          .build();
  return info;
}

void TApplication::ProcessMessages() {
  ox::ProcessMessages();
}

bool TApplication::DriveModal(TCustomForm& form) {
  return modalDriver_ ? modalDriver_(form) : false;
}

// ---- TScreen ---------------------------------------------------------------

const ClassInfo& TScreen::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TScreen>("TScreen", &TComponent::StaticClassInfo()).build();
  return info;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner), fonts_(std::make_unique<TStringList>()) {
  fonts_->SetSorted(true);
  for (const char* font : {"Arial", "Courier New", "MS Sans Serif", "Tahoma", "Times New Roman"})
    fonts_->Add(font);
  for (const char* font : {"宋体", "新宋体", "细明体", "新细明体", "黑体"})
    fonts_->Add(Gb(font));
}

TCustomForm* TScreen::Forms(int index) const {
  if (index < 0 || index >= FormCount())
    throw EListError("Form index out of bounds (" + std::to_string(index) + ")");
  return forms_[static_cast<std::size_t>(index)];
}

void TScreen::AddForm(TCustomForm* form) {
  forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

void TScreen::SetActive(TCustomForm* form, TWinControl* control) {
  activeForm_ = form;
  if (control == activeControl_.get()) return;
  activeControl_ = control;
  OnActiveControlChange(this);
}

TApplication& Application() {
  static TApplication application(nullptr);
  return application;
}

TScreen& Screen() {
  static TScreen screen(nullptr);
  return screen;
}

}  // namespace ox
