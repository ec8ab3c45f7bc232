// Forms, the application and the screen. A form is a top-level windowed control: it
// owns the focus of its controls (OnExit then OnEnter in the framework's order), sees
// keys first when KeyPreview is on, handles the dialog keys (Tab, Enter for the
// default button, Escape for the cancel button), shows modally with a modal result,
// and closes with a close action that may free it.
//
// Headless modal loops never hang: while a modal form waits with no message queued,
// the application's modal driver (a test script or an automating host) is asked to
// act; when there is none, or it does nothing, the form is cancelled (mrCancel), as if
// the person had closed it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Controls.h"
#include "ui/Dialogs.h"

namespace ox {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = Event<TObject*, TCloseAction&>;
using TCloseQueryEvent = Event<TObject*, bool&>;

enum class TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// BorderIcons bits.
enum : int { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };

// The message a form posts to itself to be freed once its handlers have returned.
inline constexpr UINT CM_RELEASE = 0xB021;

class TCustomForm : public TCustomControl {
 public:
  OX_CLASS_INFO()
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Reads the form resources (ResourceTexts, the most basic class's first) and fires
  // OnCreate. Forms are made by CreateForm<T>, which calls it once the object is whole.
  virtual void AfterConstruction();
  // Fires OnDestroy while the form is whole.
  void BeforeDestruction() override;

  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  // The control that has (or gets, when the form shows) the focus.
  TWinControl* ActiveControl() const { return focused_.get(); }
  void SetActiveControl(TWinControl* control);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  int BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(int value) { borderIcons_ = value; }
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value) { borderStyle_ = value; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState value);
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool Scaled() const { return scaled_; }
  void SetScaled(bool value) { scaled_ = value; }
  int PixelsPerInch() const { return 96; }
  void SetPixelsPerInch(int) {}
  bool Active() const { return active_; }
  bool Modal() const { return modal_; }

  void Show();
  void Hide();
  // Shows the form modally and answers its modal result.
  TModalResult ShowModal();
  // Asks OnCloseQuery, then closes with OnClose's action: hide (the default), free
  // (released once the handlers return), minimize or nothing. A modal form is closed
  // by its modal loop with mrCancel.
  void Close();
  bool CloseQuery();
  // Frees the form once the message loop runs again.
  void Release();

  // Moves the focus to `control` (OnExit of the controls it leaves, OnEnter of those
  // it arrives at). Raises EInvalidOperation when the control cannot have the focus
  // or the form is not showing.
  void FocusControl(TWinControl* control);
  // The window focus arrived at `control`: runs the exit and enter events.
  void SetFocusedControl(TWinControl* control);
  // Focuses the next (or previous) control of the tab order after `current` that can
  // have the focus (and has TabStop when `checkTabStop`).
  void SelectNext(TWinControl* current, bool forward, bool checkTabStop);
  // The first control of the tab order that can have the focus, or null.
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop,
                               bool checkParent) const;
  // The form's handling of Tab and arrows, then the controls' (default and cancel
  // buttons, Ctrl+Tab in page controls); true when handled.
  bool DialogKey(std::uint16_t key, TShiftState shift) override;
  // A control left the form: forget it as the active control.
  void ControlRemoved(TControl* control);
  // The focus arrived at `control` (after its enter events); does nothing here.
  virtual void FocusChanged(TWinControl*) {}

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void KeyDown(std::uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnResize;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

 protected:
  // The form resource text of the form's class; empty when it has none.
  virtual std::string_view ResourceText() const { return {}; }
  // The resources of the class chain, read in this order: a class whose form inherits
  // another's ("inherited frmX: TfrmX" at its top) calls the base class's version first
  // and then adds its own text. The default gives ResourceText alone.
  virtual void ResourceTexts(std::vector<std::string_view>& texts) const;
  void VisibleChanged() override;
  void BoundsChanged() override;
  virtual void DoClose(TCloseAction& action);

 private:
  bool CloseModal();
  void Activate();

  bool keyPreview_ = false;
  ComponentRef<TWinControl> focused_;  // the focus target
  TWinControl* entered_ = this;        // how far the enter events have gone
  unsigned focusChanges_ = 0;
  TPosition position_ = TPosition::poDesigned;
  int borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  TWindowState windowState_ = TWindowState::wsNormal;
  TModalResult modalResult_ = mrNone;
  bool scaled_ = true;
  bool active_ = false;
  bool modal_ = false;
  bool releasing_ = false;
};

class TForm : public TCustomForm {
 public:
  OX_CLASS_INFO()
  using TCustomForm::TCustomForm;
};

// Completes a newly made form (form resource, OnCreate); frees it when that fails.
TCustomForm* CompleteForm(TCustomForm* form);

// Creates a form of class T and completes it (form resource, OnCreate).
template <typename T>
T* CreateForm(TComponent* owner) {
  auto* form = new T(owner);
  CompleteForm(form);
  return form;
}

// Creates a form of a registered class by its class information and completes it;
// null when the class is not a creatable form.
TCustomForm* CreateFormOfClass(const ClassInfo& info, TComponent* owner);

// The application object: title, hints, the message loop and the modal driver.
class TApplication : public TComponent {
 public:
  OX_CLASS_INFO()
  explicit TApplication(TComponent* owner) : TComponent(owner) {}

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  int HintPause() const { return hintPause_; }
  // How long a hint stays, in milliseconds.
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int value) { hintHidePause_ = value; }
  void SetHintPause(int value) { hintPause_ = value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value) { showHint_ = value; }
  TCustomForm* MainForm() const { return mainForm_.get(); }
  void SetMainForm(TCustomForm* form) { mainForm_ = form; }

  // Delivers the queued window messages.
  void ProcessMessages();
  // Called by a modal loop with nothing queued; answers whether it acted.
  using ModalDriver = std::function<bool(TCustomForm& form)>;
  void SetModalDriver(ModalDriver driver) { modalDriver_ = std::move(driver); }
  bool DriveModal(TCustomForm& form);

 private:
  std::string title_;
  int hintPause_ = 500;
  int hintHidePause_ = 2500;
  bool showHint_ = true;
  ComponentRef<TCustomForm> mainForm_;
  ModalDriver modalDriver_;
};

// The screen: the forms, the active form and control, the installed fonts.
class TScreen : public TComponent {
 public:
  OX_CLASS_INFO()
  explicit TScreen(TComponent* owner);

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const;
  TCustomForm* ActiveForm() const { return activeForm_.get(); }
  TWinControl* ActiveControl() const { return activeControl_.get(); }
  // Font names installed on the machine, sorted.
  TStrings* Fonts() const { return fonts_.get(); }
  // The fonts of icon titles, hint windows and menus.
  TFont* IconFont() const { return iconFont_.get(); }
  TFont* HintFont() const { return hintFont_.get(); }
  TFont* MenuFont() const { return menuFont_.get(); }
  int Width() const { return 1024; }
  int Height() const { return 768; }
  TNotifyEvent OnActiveControlChange;

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  void SetActive(TCustomForm* form, TWinControl* control);

  std::vector<TCustomForm*> forms_;
  ComponentRef<TCustomForm> activeForm_;
  ComponentRef<TWinControl> activeControl_;
  std::unique_ptr<TStringList> fonts_;
  std::unique_ptr<TFont> iconFont_ = std::make_unique<TFont>();
  std::unique_ptr<TFont> hintFont_ = std::make_unique<TFont>();
  std::unique_ptr<TFont> menuFont_ = std::make_unique<TFont>();
};

TApplication& Application();
TScreen& Screen();

}  // namespace ox
