// Format over arbitrary bytes: the input splits at NUL bytes into a format and up to ten
// arguments. An argument starting with "#" is an integer, "!" a double (each a text when
// the rest is no number), "^" a wide text, "~" Empty, anything else a narrow text.
// Format answers a text or raises EConvertError; any other way out stops the run, and a
// format without "%" comes back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/Format.h"
#include "platform/Variant.h"

namespace {

using ox::fuzz::Check;

constexpr std::size_t kMaxArgs = 10;

ox::Variant Argument(std::string_view piece) {
  const std::string_view rest = piece.empty() ? piece : piece.substr(1);
  switch (piece.empty() ? '\0' : piece.front()) {
    case '#': {
      std::int64_t number = 0;
      if (ox::TryStrToInt64(rest, number)) return number;
      break;
    }
    case '!': {
      double number = 0;
      if (ox::TryStrToFloat(rest, number)) return number;
      break;
    }
    case '^':
      return ox::MultiByteToWide(ox::GetACP(), rest);
    case '~':
      return {};
    default:
      break;
  }
  return piece;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string_view text = ox::fuzz::TextUnderCodePage(data, size);
  std::size_t end = text.find('\0');
  const std::string_view format = text.substr(0, end);
  std::vector<ox::Variant> args;
  while (end != std::string_view::npos && args.size() < kMaxArgs) {
    text.remove_prefix(end + 1);
    end = text.find('\0');
    args.push_back(Argument(text.substr(0, end)));
  }
  try {
    const std::string result = ox::Format(format, args);
    if (format.find('%') == std::string_view::npos) Check(result == format);
  } catch (const ox::EConvertError&) {
  }
  return 0;
}
