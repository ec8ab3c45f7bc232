// Controls: components with a parent, a place on the form, visibility, colour, font,
// hints, mouse and key events. Windowed controls (TWinControl) hold child controls,
// take part in the tab order, can have the focus and get a window handle on demand,
// through which automation reaches them exactly as a person's input would.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/WinMessages.h"
#include "ui/Classes.h"
#include "ui/Graphics.h"

namespace ox {

class TWinControl;
class TCustomForm;
class TCanvas;
class TPopupMenu;

// An operation that is not allowed in the control's state ("Cannot focus a disabled
// or invisible window").
class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EInvalidOperation"; }
};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
// How text sits in its box (labels, edits, list view columns).
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
// The frame of panels, list boxes and edits.
enum class TBorderStyle { bsNone, bsSingle };

// Shift state bits of key and mouse events.
using TShiftState = int;
enum : int {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

using TKeyEvent = Event<TObject*, std::uint16_t&, TShiftState>;
using TKeyPressEvent = Event<TObject*, char&>;
using TMouseEvent = Event<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = Event<TObject*, TShiftState, int, int>;

// The shift state the keyboard is in now: kept from the key messages of the modifier
// keys (Shift, Ctrl, Alt) that reach any control.
TShiftState KeyboardShiftState();

class TControl : public TComponent {
 public:
  OX_CLASS_INFO()
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  void SetParentComponent(TComponent* parent) override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  void SetClientWidth(int value);
  void SetClientHeight(int value);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent visible too.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* font);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);
  // The menu a right click pops up (with AutoPopup); a control without one passes the
  // click on to its parent's.
  TPopupMenu* PopupMenu() const { return popupMenu_.get(); }
  void SetPopupMenu(TPopupMenu* menu);

  // The caption of labels and buttons, the text of edits.
  const std::string& Caption() const { return text_; }
  void SetCaption(const std::string& text) { SetText(text); }
  const std::string& Text() const { return text_; }
  virtual void SetText(const std::string& text);

  // The form the control sits on, or null.
  TCustomForm* ParentForm() const;
  // The position of a point of this control in the coordinates of `ancestor`.
  TRect BoundsIn(const TWinControl* ancestor) const;

  // Paints the control into a canvas whose origin is the control's top-left corner;
  // the default paints nothing. Tests read the canvas's display list; a backend
  // replays it.
  virtual void Paint(TCanvas& canvas);

  // A character typed with Alt (or not taken by the focused control), offered to every
  // control until one whose caption has it as accelerator ("&Save") handles it; labels
  // and speed buttons take part, so the default answers false (not handled).
  virtual bool DialogChar(char key, TShiftState shift);

  virtual void Click();
  virtual void DblClick();
  // Mouse input at a point of the control: what a press and release do.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  TComponent* GetParentComponent() const override;

 protected:
  // Called after the text changed (edits raise OnChange here).
  virtual void TextChanged() {}
  // Called after the visibility, size or font changed, for repainting and layout.
  virtual void VisibleChanged() {}
  virtual void BoundsChanged() {}
  virtual void FontChanged() {}
  // Sets the visibility without the change notifications, for constructors.
  void InitVisible(bool visible) { visible_ = visible; }
  // The parent's font or colour changed.
  void ParentFontChanged();
  void ParentColorChanged();
  void FontChangedBySelf(TObject* sender);

  std::string text_;

 private:
  friend class TWinControl;

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  bool updatingFromParent_ = false;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  bool mousePressed_ = false;
  ComponentRef<TPopupMenu> popupMenu_;
};

// A windowed control: has child controls, a tab order, the focus, a window handle.
class TWinControl : public TControl, public WindowProcedure {
 public:
  OX_CLASS_INFO()
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const;
  // The visible child at a point of this control's client area (the topmost), or null.
  TControl* ControlAtPos(int x, int y) const;
  // Whether `control` is this control or one of its descendants.
  bool ContainsControl(const TControl* control) const;

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value) { tabStop_ = value; }
  // Visible and enabled, and so every parent up to the form.
  virtual bool CanFocus() const;
  bool Focused() const;
  // Gives the control the focus through its form; raises EInvalidOperation when it
  // cannot have it or its form is not showing.
  virtual void SetFocus();
  // The windowed children in tab order.
  std::vector<TWinControl*> TabOrderList() const;

  // The window handle, created (with the parents' handles) on first use.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  LRESULT Perform(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  void SetText(const std::string& text) override;
  void SetParent(TWinControl* parent) override;
  void SetName(std::string_view name) override;

  // Key input as the framework delivers it: the form sees it first when its
  // KeyPreview is on; a handler that sets the key to 0 consumes it.
  virtual void KeyDown(std::uint16_t& key, TShiftState shift);
  virtual void KeyUp(std::uint16_t& key, TShiftState shift);
  virtual void KeyPress(char& key);
  // Whether the control takes this special key (Tab, arrows, Enter, Escape) itself
  // instead of leaving it to the form's dialog handling.
  virtual bool WantsKey(std::uint16_t key, TShiftState shift) const;
  // A special key nobody took, offered to every control of the form until one handles
  // it (a default button takes Enter, a cancel button Escape); true when handled.
  virtual bool DialogKey(std::uint16_t key, TShiftState shift);
  // Offers the character to every showing child control in turn.
  bool DialogChar(char key, TShiftState shift) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // The focus arrives at or leaves this control (OnEnter, OnExit).
  virtual void DoEnter();
  virtual void DoExit();

 protected:
  // What a windowed control does with a key nobody consumed (edits move the caret).
  virtual void DefaultKeyDown(std::uint16_t key, TShiftState shift);
  // What a windowed control does with a character nobody consumed (edits insert it).
  virtual void DefaultKeyPress(char key);
  virtual void AlignControls();
  // The part of the client area aligned children fill: panels leave out their bevels
  // and border width, group boxes their caption.
  virtual void AdjustClientRect(TRect&) const {}
  void BoundsChanged() override;

 private:
  friend class TControl;

  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void HandleKeyDown(WPARAM key);
  void HandleChar(WPARAM key);
  void HandleMouse(UINT message, LPARAM lParam);
  void DestroyHandle();

  std::vector<TControl*> controls_;  // in z order, the topmost last
  std::vector<TWinControl*> tabList_;
  bool tabStop_ = false;
  HWND handle_ = nullptr;
};

// A control without a window handle (labels, speed buttons, images).
class TGraphicControl : public TControl {
 public:
  OX_CLASS_INFO()
  using TControl::TControl;
};

// A windowed control that paints itself (panels, custom controls).
class TCustomControl : public TWinControl {
 public:
  OX_CLASS_INFO()
  using TWinControl::TWinControl;
};

// The names of the model's enumerations for form resources.
const std::vector<std::string>& AlignNames();
const std::vector<std::string>& AlignmentNames();
const std::vector<std::string>& BorderStyleNames();

// Whether `key` is the accelerator of `caption`: the character after a single "&"
// ("&&" shows an "&"), compared ignoring ASCII case.
bool IsAccel(char key, std::string_view caption);

}  // namespace ox
