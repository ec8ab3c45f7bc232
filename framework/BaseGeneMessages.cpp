// The option form's messages: texts looked up by code from the host, recorded, and
// shown in boxes whose kind follows the code's type letter.
#include "framework/BaseGene.h"
#include "lib/LibStrs.h"
#include "platform/AsciiText.h"

namespace ox {

namespace {

// The names of the dialog's buttons, as the button captions are looked up by.
std::string_view ButtonName(TMsgDlgBtn button) {
  static constexpr std::string_view kNames[] = {"Yes",     "No",       "OK",     "Cancel",
                                                "Abort",   "Retry",    "Ignore", "All",
                                                "NoToAll", "YesToAll", "Help"};
  return kNames[static_cast<int>(button)];
}

// The Cancel button has the focus: the person is leaving, nothing is checked or said.
bool Leaving(const TfrmBaseGene& form) {
  const TWinControl* active = form.ActiveControl();
  return active != nullptr && active == form.btnCancel();
}

}  // namespace

void TfrmBaseGene::LookupMessage(const std::string& type, const std::string& id,
                                 std::string& text) {
  if (HostObject.isEmpty() || HostObject.isNull()) {
    text = MissingMessageText(type, id);
  } else {
    try {
      text = VarToStr(OleCall(HostObject, "GetMessage", {type, id}));
    } catch (const std::exception&) {
      text = MissingMessageText(type, id);
    }
  }
  if (const TCodeConverter* converter = OxConverter())
    text = VarToStr(converter->ConvertDataString(Variant(text)));
}

void TfrmBaseGene::ShowMessageCode(const std::string& code) {
  if (Leaving(*this)) return;
  if (code.empty()) {
    Messages.Clear();
    return;
  }
  const ParsedMessageCode parsed = ParseMessageCode(code);
  std::string looked;
  LookupMessage(parsed.type, parsed.id, looked);
  const std::string text = FormatMessageText(
      looked, std::span<const Variant>(parsed.params.data(), parsed.params.size()));
  Messages.AddCode(code, text);
  if (parsed.show) ShowMessageBox(text, MessageKind(parsed.type), {mbOK});
}

void TfrmBaseGene::AddMessageText(const std::string& text) {
  if (Leaving(*this)) return;
  Messages.AddFreeText(text);
}

TModalResult TfrmBaseGene::ShowCodedMessage(const std::string& type, const std::string& id,
                                            TMsgDlgButtons buttons, std::span<const Variant> args) {
  std::string looked;
  LookupMessage(type, id, looked);
  const std::string text = FormatMessageText(looked, args);
  return ShowMessageBox(text, MessageKind(type),
                        buttons.Empty() ? CodedMessageButtons(type) : buttons);
}

TModalResult TfrmBaseGene::ShowMessageBox(const std::string& text, TMsgDlgType type,
                                          TMsgDlgButtons buttons) {
  if (InPageChange && type != mtError) return mrNone;
  MessageBoxRequest request = CreateMessageRequest(text, type, buttons);
  request.caption = Caption();
  std::string uiCodePage;
  GetUICodePage(uiCodePage);
  if (uiCodePage != "437") {
    for (TMsgDlgBtn button : request.buttons) {
      const Variant caption(GetCHTButtonCaption(ButtonName(button)));
      request.captions[button] = OxConverter() != nullptr
                                     ? VarToStr(OxConverter()->ConvertUIString(caption))
                                     : VarToStr(caption);
    }
  }
  if (const TCodeConverter* converter = OxConverter()) {
    TFont font;
    converter->SetUIFont(GetConvertMode(), font);
    request.font = {font.Name(), font.Height(), font.Charset()};
  }
  const TModalResult result = ShowMessageRequest(request);
  if (TWinControl* active = ActiveControl()) PostMessage(active->Handle(), WM_LBUTTONUP, 0, 0);
  if (type == mtError) {
    if (TWinControl* last = LastFocused.get();
        last != nullptr && last->CanFocus() && last->Showing())
      last->SetFocus();
  }
  return result;
}

}  // namespace ox
