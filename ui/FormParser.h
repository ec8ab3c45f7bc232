// Form resources in the framework's object notation, parsed into a tree of nodes:
//
//   object frmMain: TfrmMain
//     Caption = 'Main'#13#10'form'
//     Font.Style = [fsBold]
//     object lvColumns: TListView
//       Columns = <
//         item
//           Width = 80
//         end>
//       Items.Strings = ( 'one' 'two' )
//     end
//   end
//
// The text is UTF-8. Strings are kept as UTF-16, as they are built: quoted pieces are
// decoded, #NNN codes are UTF-16 units. The parser only checks the notation; what the
// names mean is the form reader's business.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Exceptions.h"

namespace ox {

// Malformed notation; Line() and Column() (1-based, columns in characters) say where.
class EParserError : public Exception {
 public:
  EParserError(const std::string& reason, int line, int column);
  int Line() const noexcept { return line_; }
  int Column() const noexcept { return column_; }
  const char* ClassName() const noexcept override { return "EParserError"; }

 private:
  int line_;
  int column_;
};

// Where a node starts in the text: 1-based line and column (in characters).
struct SourcePos {
  int line = 1;
  int column = 1;
};

enum class FormValueKind {
  Integer,     // 12, -3, $FF
  Float,       // 1.5, -2.5E3
  Identifier,  // alClient, True, clRed, FormKeyDown (dots allowed: ds.Field)
  String,      // 'it''s'#13#10'x', continued by "+" across lines
  Set,         // [fsBold, fsItalic]
  List,        // ( 'a' 'b' ): values of any kind
  Collection,  // < item ... end item ... end >
  Binary,      // { 0A1B }
};

struct FormItem;

struct FormValue {
  FormValueKind kind = FormValueKind::Integer;
  SourcePos pos;
  std::int64_t integer = 0;           // Integer
  double number = 0;                  // Float
  std::string identifier;             // Identifier
  std::u16string text;                // String
  std::string bytes;                  // Binary
  std::vector<std::string> elements;  // Set: the element names
  std::vector<FormValue> items;       // List
  std::vector<FormItem> collection;   // Collection
};

// "Name = value"; the name may be dotted (Font.Name, Items.Strings).
struct FormProperty {
  std::string name;
  SourcePos pos;
  FormValue value;
};

// One "item ... end" of a collection.
struct FormItem {
  SourcePos pos;
  std::vector<FormProperty> properties;
};

// How an object was introduced: "object", "inherited" (the component comes from an
// ancestor's resource) or "inline" (a frame).
enum class FormObjectKind { Object, Inherited, Inline };

struct FormObject {
  FormObjectKind kind = FormObjectKind::Object;
  std::string name;  // empty for "object TClass"
  std::string className;
  SourcePos pos;
  std::vector<FormProperty> properties;
  std::vector<FormObject> children;
};

// " at line L, column C": how the messages of form resources say where.
std::string PositionText(SourcePos pos);

// The code page of the narrow texts that strings are read into and written from: the
// system's own texts are GB whatever code page the machine runs with.
inline constexpr int kFormCodePage = 936;

// Objects, lists and collections nest at most this deep.
inline constexpr int kMaxFormNesting = 64;

// Parses one top object (an optional UTF-8 byte order mark and blanks around it are
// allowed). Raises EParserError for anything else. Time is linear in the text.
FormObject ParseForm(std::string_view text);

}  // namespace ox
