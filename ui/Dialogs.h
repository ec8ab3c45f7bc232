// Message boxes: the framework's message dialog (MessageDlg, MessageDlgPos, ShowMessage)
// and the application's Windows-style box (MessageBox). Every box becomes a
// MessageBoxRequest handed to one MessageBoxService. The default service is headless:
// it answers from a script of answers, else with the box's default button, and records
// every box. A windowing backend replaces it with SetMessageBoxService.
//
// Texts are narrow (GB bytes for the system's own texts). Modal results and the
// MessageBox answers share their numbers (mrOk = IDOK = 1 ... mrNo = IDNO = 7), so one
// answer type serves both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Exceptions.h"

namespace ox {

// The kinds of the framework's message dialog, in the framework's order.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// The buttons of the framework's message dialog, in the order they are laid out.
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};

// A set of buttons; bit i stands for the button of ordinal i (yes = 1, no = 2, OK = 4),
// the form in which automation callers pass it.
class TMsgDlgButtons {
 public:
  constexpr TMsgDlgButtons() = default;
  constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
    for (TMsgDlgBtn button : buttons)
      bits_ |= Bit(button);
  }
  // The set of a bit mask; bits beyond mbHelp are dropped.
  static constexpr TMsgDlgButtons FromBits(std::uint32_t bits) {
    TMsgDlgButtons set;
    set.bits_ = bits & ((Bit(mbHelp) << 1) - 1);
    return set;
  }
  constexpr std::uint32_t Bits() const { return bits_; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool Contains(TMsgDlgBtn button) const { return (bits_ & Bit(button)) != 0; }
  constexpr TMsgDlgButtons operator+(TMsgDlgButtons other) const {
    return FromBits(bits_ | other.bits_);
  }
  constexpr bool operator==(const TMsgDlgButtons&) const = default;

 private:
  static constexpr std::uint32_t Bit(TMsgDlgBtn button) { return 1u << button; }
  std::uint32_t bits_ = 0;
};

// The framework's ready-made button sets.
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// Modal results of forms and dialogs.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

// Flags of MessageBox: one button set, one icon, one default button.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_RETRYCANCEL = 0x5;
inline constexpr unsigned MB_TYPEMASK = 0xF;
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONERROR = MB_ICONHAND;
inline constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr unsigned MB_ICONASTERISK = 0x40;
inline constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr unsigned MB_ICONMASK = 0xF0;
inline constexpr unsigned MB_DEFBUTTON1 = 0x0;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;
inline constexpr unsigned MB_DEFMASK = 0xF00;

// Answers of MessageBox; 0 when the flags name no button set.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The modal result a button closes the box with; mbHelp closes nothing (mrNone).
TModalResult ModalResultOf(TMsgDlgBtn button);

// Which call made the box: the answer of a Dialog is a modal result, of a WindowsBox
// an ID answer (the same numbers).
enum class MessageBoxStyle { Dialog, WindowsBox };

// The font a caller sets on the box; an empty name keeps the backend's own font.
struct MessageBoxFont {
  std::string name;
  int height = 0;
  int charset = 0;
  bool operator==(const MessageBoxFont&) const = default;
};

// Everything a backend needs to show one box.
struct MessageBoxRequest {
  MessageBoxStyle style = MessageBoxStyle::Dialog;
  TMsgDlgType type = mtCustom;  // for a WindowsBox: the kind of its icon, mtCustom: none
  std::string caption;
  std::string text;
  std::vector<TMsgDlgBtn> buttons;             // in the order they are laid out
  std::optional<TMsgDlgBtn> defaultButton;     // pressed by Enter
  std::optional<TMsgDlgBtn> cancelButton;      // pressed by Escape
  std::map<TMsgDlgBtn, std::string> captions;  // button captions replacing the backend's
  MessageBoxFont font;
  int helpContext = 0;
  int x = -1;  // screen position of the box; -1, -1: centred
  int y = -1;
  unsigned flags = 0;  // a WindowsBox's MessageBox flags as passed
};

// Shows message boxes. Show blocks until the box is answered and returns the answer.
class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  virtual TModalResult Show(const MessageBoxRequest& request) = 0;
};

// A scripted answer aimed at a box other than the one it met.
class EMessageScriptError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EMessageScriptError"; }
};

// The answer a box gets without a script: its default button's result, else the first
// button that closes it, else mrCancel (the box closed by its close button).
TModalResult DefaultAnswer(const MessageBoxRequest& request);

// The headless service: answers from a queue of scripted answers, else DefaultAnswer,
// and records every box.
class HeadlessMessageBoxes : public MessageBoxService {
 public:
  struct Record {
    MessageBoxRequest request;
    TModalResult answer = mrNone;
  };

  // Queues an answer for the next box. A non-empty textFragment must occur in that
  // box's text: otherwise Show records the box with answer mrNone and raises
  // EMessageScriptError.
  void Push(TModalResult answer, std::string textFragment = {});
  std::size_t PendingAnswers() const { return script_.size(); }
  // Drops the queued answers and the records.
  void Reset();

  const std::vector<Record>& Records() const { return records_; }
  void ClearRecords() { records_.clear(); }

  TModalResult Show(const MessageBoxRequest& request) override;

 private:
  struct Scripted {
    TModalResult answer;
    std::string textFragment;
  };
  std::deque<Scripted> script_;
  std::vector<Record> records_;
};

// The process's headless service, in force until another is set.
HeadlessMessageBoxes& HeadlessMessages();
// The service in force.
MessageBoxService& CurrentMessageBoxService();
// Puts a service in force (the caller keeps it alive while it is in force) and returns
// the previous one; null puts the headless service back.
MessageBoxService* SetMessageBoxService(MessageBoxService* service);

// The default caption of a message dialog of the type: "Warning", "Error",
// "Information", "Confirm"; for mtCustom the application title, which while empty is
// the program file's name without folder and extension. The language layer replaces
// the texts with SetMsgDlgCaption.
std::string MsgDlgCaption(TMsgDlgType type);
void SetMsgDlgCaption(TMsgDlgType type, std::string caption);

// The framework's message dialog as a request, before it is shown: buttons in layout
// order, default button OK, else Yes, else Retry (none when the set has none of them;
// Enter then presses the first button), cancel button Cancel, else No, else OK, caption
// MsgDlgCaption(type). Callers may change caption, button captions and font.
MessageBoxRequest CreateMessageRequest(const std::string& text, TMsgDlgType type,
                                       TMsgDlgButtons buttons, int helpContext = 0);
// Shows a request through the service in force.
TModalResult ShowMessageRequest(const MessageBoxRequest& request);

// MessageDlg: shows the dialog centred; a caption replaces the type's caption.
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext = 0, const std::optional<std::string>& caption = {});
// MessageDlgPos: the same at screen position (x, y).
TModalResult MessageDlgPos(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                           int helpContext, int x, int y,
                           const std::optional<std::string>& caption = {});
// ShowMessage: a custom dialog with an OK button.
void ShowMessage(const std::string& text, const std::optional<std::string>& caption = {});

// The application's MessageBox: flags as of Windows. Flags naming no button set show
// nothing and answer 0; an MB_DEFBUTTONn beyond the buttons makes the first the default.
int MessageBox(const std::string& text, const std::string& caption, unsigned flags = MB_OK);

}  // namespace ox
