#include "ui/Dialogs.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "platform/Machine.h"
#include "platform/WinPath.h"

namespace ox {

namespace {

constexpr std::array<TMsgDlgBtn, mbHelp + 1> kAllButtons = {
    mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp};

bool IsKnownType(TMsgDlgType type) {
  return type >= mtWarning && type <= mtCustom;
}

// The caption table; the entry of mtCustom is the application title.
std::array<std::string, mtCustom + 1>& CaptionTable() {
  static std::array<std::string, mtCustom + 1> table = {"Warning", "Error", "Information",
                                                        "Confirm", ""};
  return table;
}

std::string ProgramTitle() {
  return ChangeFileExt(ExtractFileName(HostExeName()), "");
}

MessageBoxService*& ServiceInForce() {
  static MessageBoxService* service = nullptr;
  return service;
}

// The first of the candidates that the set holds.
std::optional<TMsgDlgBtn> FirstIn(TMsgDlgButtons buttons,
                                  std::initializer_list<TMsgDlgBtn> candidates) {
  for (TMsgDlgBtn button : candidates) {
    if (buttons.Contains(button)) return button;
  }
  return std::nullopt;
}

// The buttons of a MessageBox button set in layout order, with the one Escape presses.
struct BoxButtons {
  std::vector<TMsgDlgBtn> buttons;
  std::optional<TMsgDlgBtn> cancel;
};

std::optional<BoxButtons> ButtonsOfBox(unsigned flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_OK:
      return BoxButtons{{mbOK}, mbOK};
    case MB_OKCANCEL:
      return BoxButtons{{mbOK, mbCancel}, mbCancel};
    case MB_ABORTRETRYIGNORE:
      return BoxButtons{{mbAbort, mbRetry, mbIgnore}, std::nullopt};
    case MB_YESNOCANCEL:
      return BoxButtons{{mbYes, mbNo, mbCancel}, mbCancel};
    case MB_YESNO:
      return BoxButtons{{mbYes, mbNo}, std::nullopt};
    case MB_RETRYCANCEL:
      return BoxButtons{{mbRetry, mbCancel}, mbCancel};
    default:
      return std::nullopt;
  }
}

TMsgDlgType TypeOfIcon(unsigned flags) {
  switch (flags & MB_ICONMASK) {
    case MB_ICONHAND:
      return mtError;
    case MB_ICONQUESTION:
      return mtConfirmation;
    case MB_ICONEXCLAMATION:
      return mtWarning;
    case MB_ICONASTERISK:
      return mtInformation;
    default:
      return mtCustom;
  }
}

}  // namespace

TModalResult ModalResultOf(TMsgDlgBtn button) {
  static constexpr std::array<TModalResult, mbHelp + 1> kResults = {
      mrYes,    mrNo,  mrOk,      mrCancel,   mrAbort, mrRetry,
      mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};
  return button >= mbYes && button <= mbHelp ? kResults[button] : mrNone;
}

TModalResult DefaultAnswer(const MessageBoxRequest& request) {
  if (request.defaultButton) return ModalResultOf(*request.defaultButton);
  auto closing = std::find_if(request.buttons.begin(), request.buttons.end(),
                              [](TMsgDlgBtn button) { return ModalResultOf(button) != mrNone; });
  return closing != request.buttons.end() ? ModalResultOf(*closing) : mrCancel;
}

void HeadlessMessageBoxes::Push(TModalResult answer, std::string textFragment) {
  script_.push_back({answer, std::move(textFragment)});
}

void HeadlessMessageBoxes::Reset() {
  script_.clear();
  records_.clear();
}

TModalResult HeadlessMessageBoxes::Show(const MessageBoxRequest& request) {
  if (script_.empty()) {
    records_.push_back({request, DefaultAnswer(request)});
    return records_.back().answer;
  }
  Scripted next = std::move(script_.front());
  script_.pop_front();
  if (request.text.find(next.textFragment) == std::string::npos) {
    records_.push_back({request, mrNone});
    throw EMessageScriptError("Scripted answer " + std::to_string(next.answer) +
                              " was meant for a box containing \"" + next.textFragment +
                              "\", but the box says \"" + request.text + "\"");
  }
  records_.push_back({request, next.answer});
  return next.answer;
}

HeadlessMessageBoxes& HeadlessMessages() {
  static HeadlessMessageBoxes headless;
  return headless;
}

MessageBoxService& CurrentMessageBoxService() {
  MessageBoxService* service = ServiceInForce();
  return service ? *service : HeadlessMessages();
}

MessageBoxService* SetMessageBoxService(MessageBoxService* service) {
  MessageBoxService* previous = &CurrentMessageBoxService();
  ServiceInForce() = service;
  return previous;
}

std::string MsgDlgCaption(TMsgDlgType type) {
  if (!IsKnownType(type)) type = mtCustom;
  const std::string& caption = CaptionTable()[type];
  return type == mtCustom && caption.empty() ? ProgramTitle() : caption;
}

void SetMsgDlgCaption(TMsgDlgType type, std::string caption) {
  if (IsKnownType(type)) CaptionTable()[type] = std::move(caption);
}

MessageBoxRequest CreateMessageRequest(const std::string& text, TMsgDlgType type,
                                       TMsgDlgButtons buttons, int helpContext) {
  MessageBoxRequest request;
  request.style = MessageBoxStyle::Dialog;
  request.type = IsKnownType(type) ? type : mtCustom;
  request.caption = MsgDlgCaption(request.type);
  request.text = text;
  std::copy_if(kAllButtons.begin(), kAllButtons.end(), std::back_inserter(request.buttons),
               [buttons](TMsgDlgBtn button) { return buttons.Contains(button); });
  request.defaultButton = FirstIn(buttons, {mbOK, mbYes, mbRetry});
  request.cancelButton = FirstIn(buttons, {mbCancel, mbNo, mbOK});
  request.helpContext = helpContext;
  return request;
}

TModalResult ShowMessageRequest(const MessageBoxRequest& request) {
  return CurrentMessageBoxService().Show(request);
}

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext, const std::optional<std::string>& caption) {
  return MessageDlgPos(text, type, buttons, helpContext, -1, -1, caption);
}

TModalResult MessageDlgPos(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                           int helpContext, int x, int y,
                           const std::optional<std::string>& caption) {
  MessageBoxRequest request = CreateMessageRequest(text, type, buttons, helpContext);
  if (caption) request.caption = *caption;
  request.x = x;
  request.y = y;
  return ShowMessageRequest(request);
}

void ShowMessage(const std::string& text, const std::optional<std::string>& caption) {
  MessageDlg(text, mtCustom, {mbOK}, 0, caption);
}

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  std::optional<BoxButtons> set = ButtonsOfBox(flags);
  if (!set) return 0;
  MessageBoxRequest request;
  request.style = MessageBoxStyle::WindowsBox;
  request.type = TypeOfIcon(flags);
  request.caption = caption;
  request.text = text;
  request.buttons = std::move(set->buttons);
  std::size_t index = (flags & MB_DEFMASK) / MB_DEFBUTTON2;
  request.defaultButton = request.buttons[index < request.buttons.size() ? index : 0];
  request.cancelButton = set->cancel;
  request.flags = flags;
  return ShowMessageRequest(request);
}

}  // namespace ox
