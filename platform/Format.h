// Format: the framework's printf-like formatting of narrow texts, with Variants as the
// argument list.
//
// A format specifier is "%" [index ":"] ["-"] [width] ["." precision] type, where index,
// width and precision are decimal numbers or "*" (the next argument, an integer); "%%"
// is a percent sign. Types, upper or lower case alike:
//
//   d  integer in decimal; a precision is the least number of digits ("%.2d" of 5: "05")
//   u  integer as unsigned decimal (32 bits, 64 for a 64-bit integer)
//   x  integer in upper-case hexadecimal, same widths and precision as u
//   p  integer as an address: upper-case hexadecimal, at least 8 digits
//   e  floating point "d.dddE+ddd": precision significant digits (15), exponent >= 3 digits
//   f  floating point "ddd.dd": precision decimals (2)
//   g  floating point, shortest of precision significant digits (15); scientific
//      ("1.5E-007", "1E020": a sign only when negative) from 1E-5 down and when the
//      integer part has more digits than the precision
//   n  as f with "," between thousands
//   m  as n behind the currency sign of the code page ("-" before the sign when negative)
//   s  text; a precision keeps that many leading bytes
//
// A width pads the converted argument with blanks to that many bytes, on the left, or
// on the right after "-". An index moves the argument counter: "%1:s %s" takes the
// arguments 1 and 2. Float digits are rounded half away from zero from the value's
// 18 significant digits; f, n and m write more than 18 integer digits as e does with
// precision 18; precisions are kept within 18 decimals (f, n, m) and 1..18 digits (e, g).
//
// The kinds of Variant arguments: integers and booleans (true is -1) are integers;
// doubles and dates are floating point; narrow texts and wide texts (narrowed through
// the system code page) are texts, and so is Empty, read as "": unused message
// parameters are Empty and must not break "%s". Empty is no number, so "%d" of Empty
// fails like "%d" of a text. Null, objects and arrays fit no type.
//
// Failures raise EConvertError with the framework's messages, quoting at most the
// first 31 bytes of the format: "Format '...' invalid or incompatible with argument"
// for a bad specifier, an argument of the wrong kind, or a width or precision above
// 65535 (refused rather than allocated), and "No argument for format '...'" when an
// argument is missing.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/Variant.h"

namespace ox {

std::string Format(std::string_view format, std::span<const Variant> args);

}  // namespace ox
