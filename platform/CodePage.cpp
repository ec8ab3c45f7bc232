// Code-page conversions on ICU, tuned to give what the Windows calls give.
//
// One difference from Windows remains, because ICU has no data for it: ICU's tables for
// the single-byte pages (437, 1252, ...) lack most of Windows' best-fit letters. Windows
// writes "A" for "À" in 437 and for "Ā" in 1252; here they become "?". The Chinese
// tables (936, 950) carry Windows' best fits.
#include "platform/CodePage.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/Machine.h"

namespace ox {

namespace {

constexpr int kUtf8CodePage = 65001;

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

using LeadByteTable = std::array<bool, 256>;

// One code page, set up to convert as Windows does.
struct Converter {
  ConverterPtr icu;
  // Bytes that start a two-byte character; none outside the double-byte pages.
  LeadByteTable leadBytes{};
  // ICU's IBM tables for the PC pages (437, 850, 932, ...) rotate three control codes.
  // No trail byte is 1A, 1C or 7F, so undoing it byte by byte is safe on their DBCS pages.
  bool ibmPcControls = false;
};

// (byte, the character ICU's IBM PC tables give it); Windows keeps all of ASCII as is.
constexpr std::array<std::pair<int, int>, 3> kIbmPcControls{
    {{0x1A, 0x1C}, {0x1C, 0x7F}, {0x7F, 0x1A}}};

// Undoes the rotation: in decoded text ICU's characters become the bytes' own codes,
// in encoded text ICU's bytes become the bytes of the characters that were written.
template <typename Text>
void UndoIbmPcControls(Text& text, bool decoded) {
  using Char = typename Text::value_type;
  for (Char& ch : text) {
    for (const auto& [byte, character] : kIbmPcControls) {
      if (ch == static_cast<Char>(decoded ? character : byte)) {
        ch = static_cast<Char>(decoded ? byte : character);
        break;
      }
    }
  }
}

// ICU names to try for a Windows code page. The aliases "cp950" and "ibm-1386" name
// IBM's Big5 and GBK tables, which differ from Windows' (euro, box drawing, 0x80, 0xFF).
std::vector<std::string> IcuNames(int codePage) {
  switch (codePage) {
    case 936:
      return {"windows-936-2000"};
    case 950:
      return {"windows-950-2000"};
    case 437:
      return {"ibm-437"};
    default: {
      const std::string number = std::to_string(codePage);
      return {"windows-" + number, "cp" + number, "ibm-" + number};
    }
  }
}

ConverterPtr OpenIcu(int codePage) {
  if (codePage <= 0) return nullptr;
  for (const std::string& name : IcuNames(codePage)) {
    UErrorCode error = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open(name.c_str(), &error));
    if (U_SUCCESS(error) && converter) return converter;
  }
  return nullptr;
}

// The bytes a double-byte page keeps waiting on for a trail byte.
LeadByteTable FindLeadBytes(UConverter* icu) {
  LeadByteTable lead{};
  if (ucnv_getMaxCharSize(icu) != 2) return lead;
  for (int byte = 0; byte < 256; ++byte) {
    const char input = static_cast<char>(byte);
    const char* source = &input;
    UChar output[2];
    UChar* target = output;
    UErrorCode error = U_ZERO_ERROR;
    ucnv_resetToUnicode(icu);
    ucnv_toUnicode(icu, &target, output + 2, &source, source + 1, nullptr, false, &error);
    lead[byte] = U_SUCCESS(error) && ucnv_toUCountPending(icu, &error) > 0;
  }
  ucnv_resetToUnicode(icu);
  return lead;
}

bool HasIbmPcControls(UConverter* icu) {
  const char byte = 0x1A;
  UChar character = 0;
  UErrorCode error = U_ZERO_ERROR;
  return ucnv_toUChars(icu, &character, 1, &byte, 1, &error) == 1 && character == 0x1C;
}

// Windows writes "?" for a character the code page lacks, one per UTF-16 unit, so a
// character outside the BMP becomes "??" (ICU would write one substitute per character).
void EncodeAsQuestionMarks(const void* /*context*/, UConverterFromUnicodeArgs* args,
                           const UChar* /*units*/, int32_t length, UChar32 /*codePoint*/,
                           UConverterCallbackReason reason, UErrorCode* error) {
  if (reason > UCNV_IRREGULAR) return;
  *error = U_ZERO_ERROR;
  for (int32_t i = 0; i < length && U_SUCCESS(*error); ++i)
    ucnv_cbFromUWriteBytes(args, "?", 1, 0, error);
}

// Windows decodes bytes that form no character as one "?". After a lead byte it takes
// the next byte as the trail whatever it is, where ICU leaves a byte that cannot be a
// trail to be read again; stepping the source on makes the "?" take that byte too.
void DecodeAsQuestionMark(const void* context, UConverterToUnicodeArgs* args, const char* bytes,
                          int32_t length, UConverterCallbackReason reason, UErrorCode* error) {
  if (reason > UCNV_IRREGULAR) return;
  *error = U_ZERO_ERROR;
  const auto& leadBytes = *static_cast<const LeadByteTable*>(context);
  if (reason == UCNV_ILLEGAL && length == 1 && leadBytes[static_cast<unsigned char>(bytes[0])] &&
      args->source < args->sourceLimit)
    ++args->source;
  ucnv_cbToUWriteUChars(args, u"?", 1, 0, error);
}

// Pages whose characters are not made of bytes (UTF-16, UTF-32) hold no narrow text.
std::unique_ptr<Converter> OpenConverter(int codePage) {
  ConverterPtr icu = OpenIcu(codePage);
  if (!icu || ucnv_getMinCharSize(icu.get()) != 1) return nullptr;
  auto converter = std::make_unique<Converter>();
  converter->leadBytes = FindLeadBytes(icu.get());
  converter->ibmPcControls = HasIbmPcControls(icu.get());
  UErrorCode error = U_ZERO_ERROR;
  // Fallbacks are Windows' best fits ("À" to A8A4 in 936).
  ucnv_setFallback(icu.get(), true);
  ucnv_setFromUCallBack(icu.get(), EncodeAsQuestionMarks, nullptr, nullptr, nullptr, &error);
  ucnv_setToUCallBack(icu.get(), DecodeAsQuestionMark, &converter->leadBytes, nullptr, nullptr,
                      &error);
  if (U_FAILURE(error)) return nullptr;
  converter->icu = std::move(icu);
  return converter;
}

// Converters are opened once per thread and code page (an ICU converter is not
// thread-safe). Unknown code pages are not remembered, so they cannot grow the cache.
const Converter* FindConverter(int codePage) {
  thread_local std::unordered_map<int, std::unique_ptr<Converter>> cache;
  if (auto found = cache.find(codePage); found != cache.end()) return found->second.get();
  std::unique_ptr<Converter> converter = OpenConverter(codePage);
  if (!converter) return nullptr;
  return cache.emplace(codePage, std::move(converter)).first->second.get();
}

// As in the Windows calls, code page 0 (CP_ACP) is the system code page.
int ResolveCodePage(int codePage) {
  return codePage == 0 ? GetACP() : codePage;
}

// Runs an ICU call that fills a buffer and answers the length it needs, with a second
// run when the first guess was short. Failure or a text too long for ICU gives empty.
template <typename Text, typename Fill>
Text FillBuffer(std::size_t guess, Fill fill) {
  if (guess > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) return {};
  Text text(guess, typename Text::value_type{});
  UErrorCode error = U_ZERO_ERROR;
  int32_t length = fill(text.data(), static_cast<int32_t>(text.size()), &error);
  if (error == U_BUFFER_OVERFLOW_ERROR) {
    text.resize(static_cast<std::size_t>(length));
    error = U_ZERO_ERROR;
    length = fill(text.data(), length, &error);
  }
  if (U_FAILURE(error)) return {};
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace

bool IsValidCodePage(int codePage) {
  return FindConverter(codePage) != nullptr;
}

std::u16string MultiByteToWide(int codePage, std::string_view bytes) {
  codePage = ResolveCodePage(codePage);
  // Windows' UTF-8 page decodes ill-formed bytes as U+FFFD, not "?".
  if (codePage == kUtf8CodePage) return Utf8ToWide(bytes);
  const Converter* converter = FindConverter(codePage);
  if (converter == nullptr) return {};
  UConverter* icu = converter->icu.get();
  auto text = FillBuffer<std::u16string>(
      bytes.size(), [&](UChar* target, int32_t capacity, UErrorCode* error) {
        return ucnv_toUChars(icu, target, capacity, bytes.data(),
                             static_cast<int32_t>(bytes.size()), error);
      });
  if (converter->ibmPcControls) UndoIbmPcControls(text, true);
  return text;
}

std::string WideToMultiByte(int codePage, std::u16string_view text) {
  codePage = ResolveCodePage(codePage);
  if (codePage == kUtf8CodePage) return WideToUtf8(text);
  const Converter* converter = FindConverter(codePage);
  if (converter == nullptr) return {};
  UConverter* icu = converter->icu.get();
  auto bytes =
      FillBuffer<std::string>(text.size() * static_cast<std::size_t>(ucnv_getMaxCharSize(icu)),
                              [&](char* target, int32_t capacity, UErrorCode* error) {
                                return ucnv_fromUChars(icu, target, capacity, text.data(),
                                                       static_cast<int32_t>(text.size()), error);
                              });
  if (converter->ibmPcControls) UndoIbmPcControls(bytes, false);
  return bytes;
}

bool IsDBCSLeadByteEx(int codePage, unsigned char byte) {
  const Converter* converter = FindConverter(ResolveCodePage(codePage));
  return converter != nullptr && converter->leadBytes[byte];
}

bool IsDBCSLeadByte(unsigned char byte) {
  return IsDBCSLeadByteEx(GetACP(), byte);
}

std::u16string Utf8ToWide(std::string_view utf8) {
  return FillBuffer<std::u16string>(
      utf8.size(), [&](UChar* target, int32_t capacity, UErrorCode* error) {
        int32_t length = 0;
        u_strFromUTF8WithSub(target, capacity, &length, utf8.data(),
                             static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, error);
        return length;
      });
}

std::string WideToUtf8(std::u16string_view wide) {
  return FillBuffer<std::string>(
      wide.size() * 3, [&](char* target, int32_t capacity, UErrorCode* error) {
        int32_t length = 0;
        u_strToUTF8WithSub(target, capacity, &length, wide.data(),
                           static_cast<int32_t>(wide.size()), 0xFFFD, nullptr, error);
        return length;
      });
}

std::string AnsiToUtf8(std::string_view bytes, int codePage) {
  return WideToUtf8(MultiByteToWide(codePage, bytes));
}

std::string Utf8ToAnsi(std::string_view utf8, int codePage) {
  return WideToMultiByte(codePage, Utf8ToWide(utf8));
}

std::string Gb(std::string_view utf8) {
  return Utf8ToAnsi(utf8, 936);
}

}  // namespace ox
