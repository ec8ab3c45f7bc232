#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/CodePage.h"
#include "ui/FormParser.h"

namespace ox {
namespace {

// A value as one line of text, so that a table can say what each parse must give.
std::string Dump(const FormValue& value) {
  std::ostringstream out;
  switch (value.kind) {
    case FormValueKind::Integer:
      out << "int:" << value.integer;
      break;
    case FormValueKind::Float:
      out << "float:" << value.number;
      break;
    case FormValueKind::Identifier:
      out << "ident:" << value.identifier;
      break;
    case FormValueKind::String:
      out << "str:" << WideToUtf8(value.text) << "|" << value.text.size();
      break;
    case FormValueKind::Set:
      out << "set:";
      for (const std::string& element : value.elements)
        out << element << ";";
      break;
    case FormValueKind::List:
      out << "list:";
      for (const FormValue& item : value.items)
        out << "(" << Dump(item) << ")";
      break;
    case FormValueKind::Binary:
      out << "bin:";
      for (unsigned char byte : value.bytes)
        out << std::hex << static_cast<int>(byte) << ";";
      break;
    case FormValueKind::Collection:
      out << "collection:" << value.collection.size();
      break;
  }
  return out.str();
}

FormValue ParseValueText(const std::string& valueText) {
  const FormObject form = ParseForm("object f: TForm\n  P = " + valueText + "\nend\n");
  EXPECT_EQ(form.properties.size(), 1u);
  return form.properties.at(0).value;
}

TEST(FormParser, ParsesValuesOfEveryKind) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"192", "int:192"},
      {"-5", "int:-5"},
      {"+7", "int:7"},
      {"$FF", "int:255"},
      {"-$10", "int:-16"},
      {"$FFFFFFFFFFFFFFFF", "int:-1"},
      {"-9223372036854775808", "int:-9223372036854775808"},
      {"1.5", "float:1.5"},
      {"-2.5E3", "float:-2500"},
      {"1e+20", "float:1e+20"},
      {"alClient", "ident:alClient"},
      {"dmMain.dsOrders", "ident:dmMain.dsOrders"},
      {"'材料差异汇总表'", "str:材料差异汇总表|7"},
      {"'it''s'", "str:it's|4"},
      {"''", "str:|0"},
      {"#26465#20214'1'", "str:条件1|3"},
      {"'a'#13#10'b'", "str:a\r\nb|4"},
      {"'abc' +\n    'def' +\r\n'g'", "str:abcdefg|7"},
      {"'😀'", "str:😀|2"},  // outside the BMP: a surrogate pair
      {"[fsBold, fsItalic]", "set:fsBold;fsItalic;"},
      {"[]", "set:"},
      {"( 'one' 'two' 3 )", "list:(str:one|3)(str:two|3)(int:3)"},
      {"(\n  'a' +\n  'b'\n  ( x ))", "list:(str:ab|2)(list:(ident:x))"},
      {"{ 0A ff\n    10 }", "bin:a;ff;10;"},
      {"{}", "bin:"},
      {"<>", "collection:0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Dump(ParseValueText(c.text)), c.expected);
  }
}

TEST(FormParser, BuildsTheObjectTreeWithPositions) {
  const FormObject form = ParseForm(
      "\xEF\xBB\xBFobject frmMVAR52: TfrmMVAR52\r\n"
      "  Left = 192\r\n"
      "  Font.Name = '宋体'\r\n"
      "  OnKeyDown = FormKeyDown\r\n"
      "  object pgOption: TPageControl\r\n"
      "    inherited tsOption1: TTabSheet\r\n"
      "      Caption = #26465#20214'1'\r\n"
      "    end\r\n"
      "  end\r\n"
      "  INLINE TFrame1\r\n"
      "    Columns = <\r\n"
      "      item\r\n"
      "        Caption = 'A'\r\n"
      "        Width = 80\r\n"
      "      end\r\n"
      "      item\r\n"
      "      end>\r\n"
      "  End\r\n"
      "end\r\n");
  EXPECT_EQ(form.kind, FormObjectKind::Object);
  EXPECT_EQ(form.name, "frmMVAR52");
  EXPECT_EQ(form.className, "TfrmMVAR52");
  ASSERT_EQ(form.properties.size(), 3u);
  EXPECT_EQ(form.properties[1].name, "Font.Name");
  EXPECT_EQ(form.properties[1].pos.line, 3);
  EXPECT_EQ(form.properties[1].pos.column, 3);
  EXPECT_EQ(form.properties[1].value.pos.column, 15);
  EXPECT_EQ(Dump(form.properties[2].value), "ident:FormKeyDown");

  ASSERT_EQ(form.children.size(), 2u);
  const FormObject& pages = form.children[0];
  EXPECT_EQ(pages.name, "pgOption");
  ASSERT_EQ(pages.children.size(), 1u);
  EXPECT_EQ(pages.children[0].kind, FormObjectKind::Inherited);
  EXPECT_EQ(pages.children[0].pos.line, 6);
  EXPECT_EQ(pages.children[0].pos.column, 5);
  EXPECT_EQ(Dump(pages.children[0].properties.at(0).value), "str:条件1|3");

  const FormObject& frame = form.children[1];
  EXPECT_EQ(frame.kind, FormObjectKind::Inline);
  EXPECT_EQ(frame.name, "");
  EXPECT_EQ(frame.className, "TFrame1");
  ASSERT_EQ(frame.properties.size(), 1u);
  const FormValue& columns = frame.properties[0].value;
  ASSERT_EQ(columns.kind, FormValueKind::Collection);
  ASSERT_EQ(columns.collection.size(), 2u);
  ASSERT_EQ(columns.collection[0].properties.size(), 2u);
  EXPECT_EQ(columns.collection[0].properties[1].name, "Width");
  EXPECT_EQ(Dump(columns.collection[0].properties[1].value), "int:80");
  EXPECT_EQ(columns.collection[0].pos.line, 12);
  EXPECT_TRUE(columns.collection[1].properties.empty());
}

TEST(FormParser, RefusesMalformedTextWithLineAndColumn) {
  struct Case {
    std::string text;
    int line;
    int column;
    std::string message;
  };
  const std::string head = "object f: TForm\n";
  const Case cases[] = {
      {"", 1, 1, "Expected 'object', 'inherited' or 'inline'"},
      {"  Left = 1\n", 1, 3, "Expected 'object'"},
      {"object : TForm\nend", 1, 8, "Expected an object name"},
      {"object f: 5\nend", 1, 11, "Expected a class name"},
      {head, 2, 1, "Missing 'end' of object f"},
      {head + "  Left 5\nend", 2, 8, "Expected '=' after property name Left"},
      {head + "  Left = @\nend", 2, 10, "Unexpected character '@'"},
      {head + "  Left = 12abc\nend", 2, 10, "Invalid number"},
      {head + "  Left = 99999999999999999999\nend", 2, 10, "Number out of range"},
      {head + "  Left = $\nend", 2, 10, "Expected hexadecimal digits"},
      {head + "  Caption = 'abc\nend", 2, 13, "Unterminated string"},
      {head + "  Caption = 'a' #70000\nend", 2, 17, "Character code out of range"},
      {head + "  Caption = 'a' + 5\nend", 2, 19, "Expected a string after '+'"},
      {head + "  Caption = 'a\xff'\nend", 2, 15, "Invalid UTF-8 text"},
      {head + "  Caption = '\xed\xa0\x80'\nend", 2, 14, "Invalid UTF-8 text"},  // a surrogate
      {head + "  Caption = '中文'@\nend", 2, 17, "Unexpected character '@'"},
      {head + "  Style = [fsBold fsItalic]\nend", 2, 19, "Expected ',' or ']'"},
      {head + "  Style = [fsBold, 3]\nend", 2, 20, "Expected a set element name"},
      {head + "  Data = { 0A1 }\nend", 2, 14, "must come in pairs"},
      {head + "  Data = { G0 }\nend", 2, 12, "Invalid character 'G' in binary data"},
      {head + "  Data = { 0A\n", 2, 10, "Unterminated binary data"},
      {head + "  Items = ( 'a'\n", 3, 1, "Missing ')'"},
      {head + "  Columns = < Width = 1 >\nend", 2, 15, "Expected 'item' or '>'"},
      {head + "  Columns = < item Width = 1 >\nend", 2, 30, "Expected a property name"},
      {head + "  Left = )\nend", 2, 10, "Expected a value"},
      {head + "end\nobject g: TForm\nend", 3, 1, "Unexpected text after the end of the object"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      ParseForm(c.text);
      ADD_FAILURE() << "parsed";
    } catch (const EParserError& error) {
      EXPECT_EQ(error.Line(), c.line);
      EXPECT_EQ(error.Column(), c.column);
      EXPECT_NE(error.Message().find(c.message), std::string::npos) << error.Message();
      const std::string where =
          " at line " + std::to_string(c.line) + ", column " + std::to_string(c.column);
      EXPECT_NE(error.Message().find(where), std::string::npos) << error.Message();
    }
  }
}

TEST(FormParser, BoundsNesting) {
  const auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i)
      text += "object o" + std::to_string(i) + ": T\n";
    for (int i = 0; i < depth; ++i)
      text += "end\n";
    return text;
  };
  EXPECT_NO_THROW(ParseForm(nested(kMaxFormNesting)));
  try {
    ParseForm(nested(kMaxFormNesting + 1));
    ADD_FAILURE() << "parsed";
  } catch (const EParserError& error) {
    EXPECT_EQ(error.Line(), kMaxFormNesting + 1);
    EXPECT_EQ(error.Column(), 1);
  }
  // Lists count as levels as well: deep brackets are refused, not recursed into.
  const std::string lists(100000, '(');
  EXPECT_THROW(ParseForm("object f: T\n  P = " + lists), EParserError);
}

}  // namespace
}  // namespace ox
