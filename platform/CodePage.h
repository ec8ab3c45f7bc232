// Code pages with the semantics of the Windows conversion calls, built on ICU.
// Code page 936 is GB (GBK as Windows has it), 950 is Big5 (Windows' table), 437 the
// OEM US page; any other number ICU knows as "windows-N", "cpN" or "ibm-N" works too.
// Narrow texts are byte strings in a code page; wide texts are UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace ox {

// True when the code page can be converted.
bool IsValidCodePage(int codePage);

// MultiByteToWideChar: decodes bytes of the code page. A byte or pair that maps to no
// character becomes "?"; a lead byte whose trail byte forms no character becomes one
// "?" that takes the trail byte with it; a lead byte at the end becomes "?".
// An unknown code page gives an empty text.
std::u16string MultiByteToWide(int codePage, std::string_view bytes);

// WideCharToMultiByte: encodes into the code page with Windows' best-fit mappings
// (for example "À" becomes A8A4 in 936); a character with no mapping becomes "?",
// one "?" per UTF-16 unit, so a character outside the BMP becomes "??".
// An unknown code page gives an empty text.
std::string WideToMultiByte(int codePage, std::u16string_view text);

// IsDBCSLeadByteEx: whether the byte starts a two-byte character of the code page.
bool IsDBCSLeadByteEx(int codePage, unsigned char byte);
// The same for the system code page (GetACP).
bool IsDBCSLeadByte(unsigned char byte);

// Conversions between UTF-8 (file names, source literals, terminals) and the rest.
std::u16string Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::u16string_view wide);
// Narrow text of the code page (default: the system code page) to UTF-8 and back.
std::string AnsiToUtf8(std::string_view bytes, int codePage = 0);
std::string Utf8ToAnsi(std::string_view utf8, int codePage = 0);

// The system's own texts are GB texts (code page 936), whatever code page the machine
// runs with; the code converter makes them Big5 where needed. Source files hold them
// as UTF-8: Gb("确定") gives the GB bytes of that text.
std::string Gb(std::string_view utf8);

}  // namespace ox
