#include "framework/MessageCodes.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "platform/AsciiText.h"
#include "platform/Exceptions.h"
#include "platform/Format.h"

namespace ox {
namespace {

// The code under which free texts are recorded.
constexpr std::string_view kFreeTextCode = "E;-1";
constexpr std::string_view kRecordSeparator = "; ";

struct TypeLetter {
  std::string_view letter;
  TMsgDlgType kind;
  TMsgDlgButtons buttons;
};

constexpr TypeLetter kTypeLetters[] = {
    {"C", mtWarning, mbOKCancel}, {"D", mtWarning, mbYesNoCancel},   {"E", mtError, {mbOK}},
    {"I", mtInformation, {mbOK}}, {"Q", mtConfirmation, mbOKCancel}, {"W", mtWarning, mbOKCancel},
};
constexpr TypeLetter kCustomType = {"", mtCustom, {mbOK}};

const TypeLetter& FindTypeLetter(std::string_view type) {
  for (const TypeLetter& entry : kTypeLetters) {
    if (entry.letter == type) return entry;
  }
  return kCustomType;
}

std::vector<std::string_view> SplitFields(std::string_view code) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t end = code.find(';');
    fields.push_back(TrimText(code.substr(0, end)));
    if (end == std::string_view::npos) return fields;
    code.remove_prefix(end + 1);
  }
}

// The number of a code as an integer, 0 when it is none or out of range.
int MessageNumber(std::string_view id) {
  std::int64_t number = 0;
  if (!TryStrToInt64(id, number) || number < std::numeric_limits<int>::min() ||
      number > std::numeric_limits<int>::max())
    return 0;
  return static_cast<int>(number);
}

}  // namespace

ParsedMessageCode ParseMessageCode(std::string_view code) {
  const std::vector<std::string_view> fields = SplitFields(code);
  ParsedMessageCode parsed;
  parsed.type = fields[0];
  if (fields.size() > 1) parsed.id = fields[1];
  parsed.show = MessageNumber(parsed.id) > 0;
  if (!parsed.show && !parsed.id.empty()) parsed.id.erase(0, 1);
  parsed.params[0] = std::string();
  parsed.paramCount = 1;
  for (std::size_t field = 2; field < fields.size() && field - 2 < parsed.params.size(); ++field) {
    parsed.params[field - 2] = fields[field];
    parsed.paramCount = static_cast<int>(field - 1);
  }
  return parsed;
}

TMsgDlgType MessageKind(std::string_view type) {
  return FindTypeLetter(type).kind;
}

TMsgDlgButtons CodedMessageButtons(std::string_view type) {
  return FindTypeLetter(type).buttons;
}

std::string FormatMessageText(const std::string& text, std::span<const Variant> params) {
  try {
    return Format(text, params);
  } catch (const EConvertError&) {
    std::string result = text + "\r";
    for (const Variant& param : params)
      result += VarToStr(param) + ";";
    return result;
  }
}

std::string MissingMessageText(std::string_view type, std::string_view id) {
  const Variant args[] = {type, id};
  return Format("Can not Get Message\rType= %s, ID= %s ", args);
}

void MessageRecords::AddCode(std::string_view code, std::string_view text) {
  codes_.append(code).append(kRecordSeparator);
  AddText(text);
}

void MessageRecords::AddFreeText(std::string_view text) {
  text = TrimText(text);
  if (text.empty()) {
    Clear();
    return;
  }
  AddCode(kFreeTextCode, text);
}

void MessageRecords::Clear() {
  codes_.clear();
  texts_.clear();
}

void MessageRecords::AddText(std::string_view text) {
  const bool contained = !text.empty() && texts_.find(text) != std::string::npos;
  if (!contained) texts_.append(text).append(kRecordSeparator);
}

}  // namespace ox
