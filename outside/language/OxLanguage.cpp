// GB <-> Big5 conversion: decode from one code page, change the characters' forms with
// ICU's Simplified/Traditional transliterators, encode into the other code page.
// Characters the target code page lacks become "?", as Windows' conversion has them.
#include "outside/language/OxLanguage.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace {

constexpr int kGb = 936;
constexpr int kBig5 = 950;

// One transliterator per thread and direction: ICU transliterators are not safe to
// share between threads, and building one reads its rules, so it is kept.
std::unique_ptr<icu::Transliterator> MakeTransliterator(const char* id) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Transliterator> result(
      icu::Transliterator::createInstance(icu::UnicodeString(id), UTRANS_FORWARD, status));
  return U_SUCCESS(status) ? std::move(result) : nullptr;
}

const char* Convert(const char* text, int from, int to, const char* transliteratorId,
                    std::unique_ptr<icu::Transliterator>& transliterator) {
  thread_local std::string result;
  if (text == nullptr) {
    result.clear();
    return result.c_str();
  }
  if (!transliterator) transliterator = MakeTransliterator(transliteratorId);
  const std::u16string wide = ox::MultiByteToWide(from, text);
  icu::UnicodeString changed(wide.data(), static_cast<int32_t>(wide.size()));
  if (transliterator) transliterator->transliterate(changed);
  result = ox::WideToMultiByte(
      to, std::u16string_view(changed.getBuffer(), static_cast<std::size_t>(changed.length())));
  return result.c_str();
}

}  // namespace

extern "C" {

const char* GBtoBIG5(const char* text) {
  thread_local std::unique_ptr<icu::Transliterator> toTraditional;
  return Convert(text, kGb, kBig5, "Hans-Hant", toTraditional);
}

const char* BIG5toGB(const char* text) {
  thread_local std::unique_ptr<icu::Transliterator> toSimplified;
  return Convert(text, kBig5, kGb, "Hant-Hans", toSimplified);
}
}
