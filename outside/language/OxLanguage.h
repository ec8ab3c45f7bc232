// The entry points of the language library (Oxlanguage.dll), loaded by name by the
// code converter: a narrow text in one Chinese code page in, the same text in the other
// code page out, with the characters' forms changed to fit (Simplified for GB, code page
// 936; Traditional for Big5, code page 950).
//
// The returned text belongs to the library: it stays valid until the next call of
// either entry point on the same thread. A null argument gives an empty text.
#pragma once

extern "C" {
// A GB text as Big5, Simplified characters made Traditional.
const char* GBtoBIG5(const char* text);
// A Big5 text as GB, Traditional characters made Simplified.
const char* BIG5toGB(const char* text);
}

namespace ox {

// The library's Windows name and the type of its entry points, for GetProcAddress.
inline constexpr const char* kLanguageLibraryName = "Oxlanguage.dll";
using LanguageConvertProc = decltype(&GBtoBIG5);

}  // namespace ox
