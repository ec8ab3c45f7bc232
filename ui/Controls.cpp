#include "ui/Controls.h"

#include <algorithm>

#include "platform/AsciiText.h"
#include "ui/Forms.h"
#include "ui/Menus.h"

namespace ox {

namespace {

TShiftState keyboardShift = 0;

// A right click pops up the menu of the control, else of the nearest parent that has
// one (with AutoPopup), at the point on the screen, for that control.
void PopupContextMenu(TControl& control, int x, int y) {
  for (TControl* c = &control; c != nullptr; c = c->Parent()) {
    TPopupMenu* menu = c->PopupMenu();
    if (menu == nullptr || !menu->AutoPopup()) continue;
    const TRect screen = control.BoundsIn(nullptr);
    menu->SetPopupComponent(c);
    menu->Popup(screen.Left + x, screen.Top + y);
    return;
  }
}

// A key that is the short cut of an item of the pop-up menu of the control or of one
// of its parents clicks that item; true when the key is taken so.
bool IsMenuKey(TControl& control, std::uint16_t key, TShiftState shift) {
  for (TControl* c = &control; c != nullptr; c = c->Parent())
    if (TPopupMenu* menu = c->PopupMenu(); menu != nullptr && menu->IsShortCut(key, shift))
      return true;
  return false;
}

// Keeps the modifier state from the key messages of Shift, Ctrl and Alt.
void TrackModifier(WPARAM key, bool down) {
  const TShiftState bit = key == VK_SHIFT     ? ssShift
                          : key == VK_CONTROL ? ssCtrl
                          : key == VK_MENU    ? ssAlt
                                              : 0;
  keyboardShift = down ? (keyboardShift | bit) : (keyboardShift & ~bit);
}

bool IsDialogKey(std::uint16_t key) {
  return key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_LEFT ||
         key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

template <typename T>
void EraseOne(std::vector<T*>& list, const T* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

TShiftState KeyboardShiftState() {
  return keyboardShift;
}

const std::vector<std::string>& AlignNames() {
  static const std::vector<std::string> names{"alNone", "alTop",   "alBottom",
                                              "alLeft", "alRight", "alClient"};
  return names;
}

const std::vector<std::string>& AlignmentNames() {
  static const std::vector<std::string> names{"taLeftJustify", "taRightJustify", "taCenter"};
  return names;
}

const std::vector<std::string>& BorderStyleNames() {
  static const std::vector<std::string> names{"bsNone", "bsSingle"};
  return names;
}

bool IsAccel(char key, std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return key != 0 && UpperAscii(caption[i + 1]) == UpperAscii(key);
    ++i;  // "&&" is a plain "&"
  }
  return false;
}

// ---- TControl --------------------------------------------------------------

const ClassInfo& TControl::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TControl>("TControl", &TComponent::StaticClassInfo())
          .property("Left", &TControl::Left, &TControl::SetLeft)
          .property("Top", &TControl::Top, &TControl::SetTop)
          .property("Width", &TControl::Width, &TControl::SetWidth)
          .property("Height", &TControl::Height, &TControl::SetHeight)
          .property("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth)
          .property("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight)
          .enumeration("Align", &TControl::Align, &TControl::SetAlign, AlignNames())
          .defaultValue(0)
          .property("Visible", &TControl::Visible, &TControl::SetVisible)
          .defaultValue(1)
          .property("Enabled", &TControl::Enabled, &TControl::SetEnabled)
          .defaultValue(1)
          .integer("Color", &TControl::Color, &TControl::SetColor, ColorIdents())
          .property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
          .object<TFont>("Font", &TControl::Font, &TControl::SetFont)
          .property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
          .defaultValue(1)
          .property("Hint", &TControl::Hint, &TControl::SetHint)
          .property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
          .property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
          .defaultValue(1)
          .object<TPopupMenu>("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
          .property("Caption", &TControl::Caption, &TControl::SetCaption)
          .event("OnClick", &TControl::OnClick)
          .event("OnDblClick", &TControl::OnDblClick)
          .event("OnMouseDown", &TControl::OnMouseDown)
          .event("OnMouseUp", &TControl::OnMouseUp)
          .event("OnMouseMove", &TControl::OnMouseMove)
          .build();
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  font_->OnChange = MakeMethod<&TControl::FontChangedBySelf>(this);
}

TControl::~TControl() {
  if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_ != nullptr) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_ == nullptr) return;
  parent_->InsertControl(this);
  ParentFontChanged();
  ParentColorChanged();
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* windowed = dynamic_cast<TWinControl*>(parent)) SetParent(windowed);
}

TComponent* TControl::GetParentComponent() const {
  return parent_;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  BoundsChanged();
  if (parent_ != nullptr) parent_->AlignControls();
}

void TControl::SetClientWidth(int value) {
  SetWidth(value + (width_ - ClientWidth()));
}
void TControl::SetClientHeight(int value) {
  SetHeight(value + (height_ - ClientHeight()));
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_ != nullptr) parent_->AlignControls();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
  if (parent_ != nullptr) parent_->AlignControls();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c != nullptr; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
}

void TControl::SetColor(TColor color) {
  color_ = color;
  parentColor_ = false;
  if (auto* self = dynamic_cast<TWinControl*>(this))
    for (int i = 0; i < self->ControlCount(); ++i)
      self->Controls(i)->ParentColorChanged();
}

void TControl::SetParentColor(bool value) {
  parentColor_ = value;
  ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || parent_ == nullptr) return;
  SetColor(parent_->Color());
  parentColor_ = true;
}

void TControl::SetFont(TFont* font) {
  if (font != nullptr) font_->Assign(*font);
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || parent_ == nullptr) return;
  updatingFromParent_ = true;
  font_->Assign(*parent_->Font());
  updatingFromParent_ = false;
}

void TControl::FontChangedBySelf(TObject*) {
  if (!updatingFromParent_) parentFont_ = false;
  FontChanged();
  if (auto* self = dynamic_cast<TWinControl*>(this))
    for (int i = 0; i < self->ControlCount(); ++i)
      self->Controls(i)->ParentFontChanged();
}

void TControl::SetShowHint(bool value) {
  showHint_ = value;
  parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool value) {
  parentShowHint_ = value;
  if (value && parent_ != nullptr) showHint_ = parent_->ShowHint();
}

void TControl::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  TextChanged();
}

TCustomForm* TControl::ParentForm() const {
  const TControl* top = this;
  while (top->parent_ != nullptr)
    top = top->parent_;
  return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(top));
}

TRect TControl::BoundsIn(const TWinControl* ancestor) const {
  TRect rect{0, 0, width_, height_};
  for (const TControl* c = this; c != nullptr && c != ancestor; c = c->parent_) {
    rect.Left += c->left_;
    rect.Top += c->top_;
  }
  rect.Right = rect.Left + width_;
  rect.Bottom = rect.Top + height_;
  return rect;
}

void TControl::Paint(TCanvas&) {}

bool TControl::DialogChar(char, TShiftState) {
  return false;
}

void TControl::Click() {
  OnClick(this);
}
void TControl::DblClick() {
  OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) mousePressed_ = true;
  OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const bool click = button == TMouseButton::mbLeft && mousePressed_;
  if (button == TMouseButton::mbLeft) mousePressed_ = false;
  OnMouseUp(this, button, shift, x, y);
  // A press and release inside the control is a click.
  if (click && x >= 0 && y >= 0 && x < width_ && y < height_ && enabled_) Click();
  if (button == TMouseButton::mbRight) PopupContextMenu(*this, x, y);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  popupMenu_ = menu;
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  OnMouseMove(this, shift, x, y);
}

// ---- TWinControl -----------------------------------------------------------

const ClassInfo& TWinControl::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TWinControl>("TWinControl", &TControl::StaticClassInfo())
          .property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
          .property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
          .event("OnEnter", &TWinControl::OnEnter)
          .event("OnExit", &TWinControl::OnExit)
          .event("OnKeyDown", &TWinControl::OnKeyDown)
          .event("OnKeyUp", &TWinControl::OnKeyUp)
          .event("OnKeyPress", &TWinControl::OnKeyPress)
          .build();
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // Leave the parent while this is still a windowed control, then let the children
  // go: they may be owned elsewhere and outlive this control.
  SetParent(nullptr);
  DestroyHandle();
  for (TControl* child : std::vector<TControl*>(controls_))
    child->SetParent(nullptr);
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount())
    throw EListError("Control index out of bounds (" + std::to_string(index) + ")");
  return controls_[static_cast<std::size_t>(index)];
}

TControl* TWinControl::ControlAtPos(int x, int y) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if ((*it)->Visible() && (*it)->BoundsRect().Contains(x, y)) return *it;
  return nullptr;
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c != nullptr; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) tabList_.push_back(windowed);
  AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
  EraseOne(controls_, control);
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
    EraseOne(tabList_, windowed);
    windowed->DestroyHandle();
  }
  if (TCustomForm* form = ParentForm()) form->ControlRemoved(control);
  AlignControls();
}

int TWinControl::TabOrder() const {
  const TWinControl* parent = Parent();
  if (parent == nullptr) return -1;
  const auto& list = parent->tabList_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  TWinControl* parent = Parent();
  if (parent == nullptr) return;
  auto& list = parent->tabList_;
  EraseOne(list, this);
  const auto position = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + position, this);
}

bool TWinControl::CanFocus() const {
  const TCustomForm* form = ParentForm();
  for (const TControl* c = this; c != nullptr && c != form; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const {
  return handle_ != nullptr && GetFocusWindow() == handle_;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = ParentForm(); form != nullptr && form != this) {
    form->FocusControl(this);
    return;
  }
  if (!Showing() || !Enabled())
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  SetFocusWindow(Handle());
}

std::vector<TWinControl*> TWinControl::TabOrderList() const {
  std::vector<TWinControl*> list;
  for (TWinControl* child : tabList_) {
    list.push_back(child);
    const auto inner = child->TabOrderList();
    list.insert(list.end(), inner.begin(), inner.end());
  }
  return list;
}

HWND TWinControl::Handle() {
  if (handle_ == nullptr) {
    HWND parent = Parent() != nullptr ? Parent()->Handle() : nullptr;
    handle_ = CreateWindowHandle(this, parent, ClassName(), Name());
  }
  return handle_;
}

void TWinControl::DestroyHandle() {
  if (handle_ == nullptr) return;
  for (TWinControl* child : tabList_)
    child->DestroyHandle();
  HWND handle = handle_;
  handle_ = nullptr;
  DestroyWindowHandle(handle);
}

LRESULT TWinControl::Perform(UINT message, WPARAM wParam, LPARAM lParam) {
  return WindowProc(message, wParam, lParam);
}

LRESULT TWinControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      if (TCustomForm* form = ParentForm(); form != nullptr && form != this)
        form->SetFocusedControl(this);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      HandleKeyDown(wParam);
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      TrackModifier(wParam, false);
      auto key = static_cast<std::uint16_t>(wParam);
      TCustomForm* form = ParentForm();
      if (form != nullptr && form != this && form->KeyPreview()) form->KeyUp(key, keyboardShift);
      if (key != 0) KeyUp(key, keyboardShift);
      return 0;
    }
    case WM_CHAR:
      HandleChar(wParam);
      return 0;
    case WM_SYSCHAR:
      if (TCustomForm* form = ParentForm())
        form->DialogChar(static_cast<char>(wParam), keyboardShift | ssAlt);
      return 0;
    case WM_SETTEXT:
      SetText(lParam != 0 ? std::string(reinterpret_cast<const char*>(lParam)) : std::string());
      return 1;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(text_.size());
    case WM_GETTEXT:
      return AnswerGetText(text_, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
      HandleMouse(message, lParam);
      return 0;
    case WM_NEXTDLGCTL:
      if (TCustomForm* form = ParentForm())
        form->SelectNext(form->ActiveControl(), wParam == 0, true);
      return 0;
    case WM_DESTROY:
      handle_ = nullptr;
      return 0;
    default:
      return 0;
  }
}

void TWinControl::HandleKeyDown(WPARAM wParam) {
  TrackModifier(wParam, true);
  auto key = static_cast<std::uint16_t>(wParam);
  const TShiftState shift = keyboardShift;
  if (IsMenuKey(*this, key, shift)) return;
  TCustomForm* form = ParentForm();
  // Special keys the control does not take go to the form's dialog handling first
  // (Tab moves on, Enter clicks the default button, Escape the cancel button).
  if (form != nullptr && IsDialogKey(key) && !WantsKey(key, shift) && form->DialogKey(key, shift))
    return;
  if (form != nullptr && form != this && form->KeyPreview()) {
    form->KeyDown(key, shift);
    if (key == 0) return;
  }
  KeyDown(key, shift);
  if (key != 0) DefaultKeyDown(key, shift);
}

void TWinControl::HandleChar(WPARAM wParam) {
  auto key = static_cast<char>(wParam);
  TCustomForm* form = ParentForm();
  if (form != nullptr && form != this && form->KeyPreview()) {
    form->KeyPress(key);
    if (key == 0) return;
  }
  KeyPress(key);
  if (key != 0) DefaultKeyPress(key);
}

void TWinControl::HandleMouse(UINT message, LPARAM lParam) {
  int x = LOWORD_SIGNED(lParam);
  int y = HIWORD_SIGNED(lParam);
  // A point over a child goes to the child, as the window manager routes it.
  TControl* target = this;
  for (TControl* child = ControlAtPos(x, y); child != nullptr;) {
    x -= child->Left();
    y -= child->Top();
    if (auto* windowed = dynamic_cast<TWinControl*>(child)) {
      windowed->HandleMouse(message, MAKELPARAM(x, y));
      return;
    }
    target = child;
    break;
  }
  const TShiftState shift = keyboardShift;
  switch (message) {
    case WM_LBUTTONDOWN:
      target->MouseDown(TMouseButton::mbLeft, shift | ssLeft, x, y);
      break;
    case WM_LBUTTONUP:
      target->MouseUp(TMouseButton::mbLeft, shift, x, y);
      break;
    case WM_LBUTTONDBLCLK:
      target->DblClick();
      break;
    case WM_RBUTTONDOWN:
      target->MouseDown(TMouseButton::mbRight, shift | ssRight, x, y);
      break;
    case WM_RBUTTONUP:
      target->MouseUp(TMouseButton::mbRight, shift, x, y);
      break;
    default:
      target->MouseMove(shift, x, y);
      break;
  }
}

void TWinControl::SetText(const std::string& text) {
  TControl::SetText(text);
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent == Parent()) return;
  DestroyHandle();
  TControl::SetParent(parent);
}

void TWinControl::SetName(std::string_view name) {
  TComponent::SetName(name);
  if (handle_ != nullptr) SetWindowName(handle_, Name());
}

void TWinControl::KeyDown(std::uint16_t& key, TShiftState shift) {
  OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(std::uint16_t& key, TShiftState shift) {
  OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(char& key) {
  OnKeyPress(this, key);
}
bool TWinControl::WantsKey(std::uint16_t, TShiftState) const {
  return false;
}

bool TWinControl::DialogKey(std::uint16_t key, TShiftState shift) {
  for (TControl* child : std::vector<TControl*>(controls_))
    if (auto* windowed = dynamic_cast<TWinControl*>(child);
        windowed != nullptr && windowed->Showing() && windowed->DialogKey(key, shift))
      return true;
  return false;
}

bool TWinControl::DialogChar(char key, TShiftState shift) {
  for (TControl* child : std::vector<TControl*>(controls_))
    if (child->Showing() && child->DialogChar(key, shift)) return true;
  return false;
}
void TWinControl::DoEnter() {
  OnEnter(this);
}
void TWinControl::DoExit() {
  OnExit(this);
}
void TWinControl::DefaultKeyDown(std::uint16_t, TShiftState) {}
void TWinControl::DefaultKeyPress(char) {}

void TWinControl::BoundsChanged() {
  AlignControls();
}

void TWinControl::AlignControls() {
  // Top and bottom first, then left and right in the space left, then the client.
  TRect space{0, 0, ClientWidth(), ClientHeight()};
  AdjustClientRect(space);
  for (TAlign pass :
       {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
    for (TControl* c : controls_) {
      if (c->align_ != pass || !c->visible_) continue;
      TRect r = c->BoundsRect();
      switch (pass) {
        case TAlign::alTop:
          r = {space.Left, space.Top, space.Right, space.Top + c->height_};
          space.Top = r.Bottom;
          break;
        case TAlign::alBottom:
          r = {space.Left, space.Bottom - c->height_, space.Right, space.Bottom};
          space.Bottom = r.Top;
          break;
        case TAlign::alLeft:
          r = {space.Left, space.Top, space.Left + c->width_, space.Bottom};
          space.Left = r.Right;
          break;
        case TAlign::alRight:
          r = {space.Right - c->width_, space.Top, space.Right, space.Bottom};
          space.Right = r.Left;
          break;
        default:
          r = space;
          break;
      }
      if (r == c->BoundsRect()) continue;
      c->left_ = r.Left;
      c->top_ = r.Top;
      c->width_ = std::max(r.Width(), 0);
      c->height_ = std::max(r.Height(), 0);
      c->BoundsChanged();
    }
  }
}

// ---- graphic and custom controls -------------------------------------------

const ClassInfo& TGraphicControl::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TGraphicControl>("TGraphicControl", &TControl::StaticClassInfo()).build();
  return info;
}

const ClassInfo& TCustomControl::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TCustomControl>("TCustomControl", &TWinControl::StaticClassInfo()).build();
  return info;
}

}  // namespace ox
