#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "ui/Classes.h"
#include "ui/FormReader.h"
#include "ui/FormWriter.h"
#include "ui/Forms.h"

namespace ox {
namespace {

enum class TTestAlign { alNone, alTop, alClient };
const IdentMap kTestColours{{{"clRed", 0x0000FF}, {"clWindow", 0x7FFFFF05}}};

class TTestFont : public TPersistent {
 public:
  OX_CLASS_INFO()
  std::string name;
  int size = 9;
  int style = 0;
  int color = 0;
};

const ClassInfo& TTestFont::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TTestFont>("TTestFont", &TPersistent::StaticClassInfo())
          .property(
              "Name", [](const TTestFont& f) { return f.name; },
              [](TTestFont& f, const std::string& v) { f.name = v; })
          .property(
              "Size", [](const TTestFont& f) { return f.size; },
              [](TTestFont& f, int v) { f.size = v; })
          .defaultValue(9)
          .set(
              "Style", [](const TTestFont& f) { return f.style; },
              [](TTestFont& f, int v) { f.style = v; }, {"fsBold", "fsItalic"})
          .defaultValue(0)
          .integer(
              "Color", [](const TTestFont& f) { return f.color; },
              [](TTestFont& f, int v) { f.color = v; }, kTestColours)
          .defaultValue(0)
          .build();
  return info;
}

class TTestFormBase;

class TTestColumn : public TCollectionItem {
 public:
  OX_CLASS_INFO()
  using TCollectionItem::TCollectionItem;
  std::string caption;
  int width = 50;
  ComponentRef<TTestFormBase> partner;  // only forms fit
};

// A control-like component that records what the reader does to it.
class TTestControl : public TComponent {
 public:
  OX_CLASS_INFO()
  explicit TTestControl(TComponent* owner) : TComponent(owner) { ++alive; }
  ~TTestControl() override { --alive; }
  static inline int alive = 0;

  std::string caption;
  int left = 0;
  bool visible = true;
  TTestAlign align = TTestAlign::alNone;
  double ratio = 0;
  char accel = 0;
  std::string data;
  TTestFont font;
  TStringList lines;
  TCollection columns{TTestColumn::StaticClassInfo(),
                      [](TCollection* c) -> std::unique_ptr<TCollectionItem> {
                        return std::make_unique<TTestColumn>(c);
                      }};
  TNotifyEvent OnClick;
  Event<TObject*, int&> OnKeyDown;
  ComponentRef<TTestControl> buddy;

  TComponent* parent = nullptr;
  bool loadingWhenCaptionSet = false;
  void SetCaption(const std::string& value) {
    caption = value;
    loadingWhenCaptionSet = IsLoading();
  }
  void SetParentComponent(TComponent* value) override { parent = value; }
  TComponent* GetParentComponent() const override { return parent; }
  void Loaded() override;
};

// The form classes: handlers are published at both levels.
class TTestFormBase : public TTestControl {
 public:
  OX_CLASS_INFO()
  using TTestControl::TTestControl;
  // Names, "!" when Loaded came without csLoading, ">buddy" when a buddy was set.
  std::vector<std::string> loadLog;
  void FormKeyDown(TObject*, int& key) { key = 0; }
};

class TTestForm : public TTestFormBase {
 public:
  OX_CLASS_INFO()
  using TTestFormBase::TTestFormBase;
  TObject* clicked = nullptr;
  void ButtonClick(TObject* sender) { clicked = sender; }
};

void TTestControl::Loaded() {
  auto* form = dynamic_cast<TTestFormBase*>(this);
  if (form == nullptr) form = dynamic_cast<TTestFormBase*>(Owner());
  if (form != nullptr)
    form->loadLog.push_back(Name() + (IsLoading() ? "" : "!") + (buddy ? ">" + buddy->Name() : ""));
  TComponent::Loaded();
}

const ClassInfo& TTestControl::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TTestControl>("TTestControl", &TComponent::StaticClassInfo())
          .creatable()
          .property(
              "Caption", [](const TTestControl& c) { return c.caption; }, &TTestControl::SetCaption)
          .property(
              "Left", [](const TTestControl& c) { return c.left; },
              [](TTestControl& c, int v) { c.left = v; })
          .defaultValue(0)
          .property(
              "Visible", [](const TTestControl& c) { return c.visible; },
              [](TTestControl& c, bool v) { c.visible = v; })
          .defaultValue(1)
          .enumeration(
              "Align", [](const TTestControl& c) { return c.align; },
              [](TTestControl& c, TTestAlign v) { c.align = v; }, {"alNone", "alTop", "alClient"})
          .defaultValue(0)
          .property(
              "Ratio", [](const TTestControl& c) { return c.ratio; },
              [](TTestControl& c, double v) { c.ratio = v; })
          .property(
              "Accel", [](const TTestControl& c) { return c.accel; },
              [](TTestControl& c, char v) { c.accel = v; })
          .defaultValue(0)
          .property(
              "Data", [](const TTestControl& c) { return c.data; },
              [](TTestControl& c, const std::string& v) { c.data = v; })
          .object<TTestFont>("Font",
                             [](const TTestControl& c) { return const_cast<TTestFont*>(&c.font); })
          .object<TStringList>(
              "Lines", [](const TTestControl& c) { return const_cast<TStringList*>(&c.lines); })
          .object<TCollection>(
              "Columns", [](const TTestControl& c) { return const_cast<TCollection*>(&c.columns); })
          .object<TTestControl>(
              "Buddy", [](const TTestControl& c) { return c.buddy.get(); },
              [](TTestControl& c, TTestControl* v) { c.buddy = v; })
          .event("OnClick", &TTestControl::OnClick)
          .event("OnKeyDown", &TTestControl::OnKeyDown)
          .build();
  return info;
}

const ClassInfo& TTestFormBase::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TTestFormBase>("TTestFormBase", &TTestControl::StaticClassInfo())
          .handler<&TTestFormBase::FormKeyDown>("FormKeyDown")
          .build();
  return info;
}

const ClassInfo& TTestForm::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TTestForm>("TTestForm", &TTestFormBase::StaticClassInfo())
          .creatable()
          .handler<&TTestForm::ButtonClick>("ButtonClick")
          .build();
  return info;
}

const ClassInfo& TTestColumn::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TTestColumn>("TTestColumn", &TCollectionItem::StaticClassInfo())
          .property(
              "Caption", [](const TTestColumn& c) { return c.caption; },
              [](TTestColumn& c, const std::string& v) { c.caption = v; })
          .property(
              "Width", [](const TTestColumn& c) { return c.width; },
              [](TTestColumn& c, int v) { c.width = v; })
          .defaultValue(50)
          .object<TTestFormBase>(
              "Partner", [](const TTestColumn& c) { return c.partner.get(); },
              [](TTestColumn& c, TTestFormBase* v) { c.partner = v; })
          .build();
  return info;
}

class FormReaderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const ClassInfo* info : {&TTestControl::StaticClassInfo(),
                                  &TTestFormBase::StaticClassInfo(), &TTestForm::StaticClassInfo()})
      RegisterClass(*info);
  }
  TTestControl& Child(const TComponent& owner, const char* name) {
    auto* child = dynamic_cast<TTestControl*>(owner.FindComponent(name));
    if (child == nullptr) throw std::runtime_error(std::string("no component ") + name);
    return *child;
  }
};

const char* const kSample = R"(object frmMain: TTestForm
  Caption = '材料差异汇总表'
  Font.Name = '宋体'
  Font.Style = [fsBold]
  Font.Color = clRed
  OnKeyDown = FormKeyDown
  object pnlTop: TTestControl
    Align = alClient
    Ratio = 2.5
    Accel = 'X'
    object btnOk: TTestControl
      Caption = #26465#20214'1'
      Left = -12
      Visible = False
      OnClick = ButtonClick
    end
  end
  object lvColumns: TTestControl
    Caption = 'it''s'#13#10 +
      'ok'
    Data = { 41 81 }
    Lines.Strings = ( 'one' '二' )
    Columns = <
      item
        Caption = 'A'
        Width = 80
      end
      item
      end>
  end
end
)";

TEST_F(FormReaderTest, ReadsComponentsPropertiesAndEventsIntoTheRoot) {
  TTestForm form(nullptr);
  ReadComponentResource(form, kSample);

  EXPECT_EQ(form.Name(), "frmMain");
  EXPECT_EQ(form.caption, Gb("材料差异汇总表"));
  EXPECT_EQ(form.font.name, Gb("宋体"));
  EXPECT_EQ(form.font.style, 1);
  EXPECT_EQ(form.font.color, 0xFF);
  ASSERT_EQ(form.ComponentCount(), 3);
  EXPECT_EQ(form.Components(0)->Name(), "pnlTop");
  EXPECT_EQ(form.Components(1)->Name(), "btnOk");
  EXPECT_EQ(form.Components(2)->Name(), "lvColumns");

  TTestControl& panel = Child(form, "pnlTop");
  TTestControl& button = Child(form, "btnOk");
  TTestControl& list = Child(form, "lvColumns");
  EXPECT_EQ(panel.parent, &form);
  EXPECT_EQ(button.parent, &panel);
  EXPECT_EQ(list.parent, &form);

  EXPECT_EQ(panel.align, TTestAlign::alClient);
  EXPECT_DOUBLE_EQ(panel.ratio, 2.5);
  EXPECT_EQ(panel.accel, 'X');
  EXPECT_EQ(button.caption, Gb("条件1"));  // #NNN codes are UTF-16 units
  EXPECT_EQ(button.left, -12);
  EXPECT_FALSE(button.visible);
  EXPECT_EQ(list.caption, "it's\r\nok");
  EXPECT_EQ(list.data, "\x41\x81");
  ASSERT_EQ(list.lines.Count(), 2);
  EXPECT_EQ(list.lines.Strings(1), Gb("二"));
  ASSERT_EQ(list.columns.Count(), 2);
  const auto* first = static_cast<TTestColumn*>(list.columns.Items(0));
  const auto* second = static_cast<TTestColumn*>(list.columns.Items(1));
  EXPECT_EQ(first->caption, "A");
  EXPECT_EQ(first->width, 80);
  EXPECT_EQ(second->width, 50);

  // Events are bound to the root's handlers, from its own class and its ancestor's.
  button.OnClick(&button);
  EXPECT_EQ(form.clicked, &button);
  int key = 13;
  form.OnKeyDown(&form, key);
  EXPECT_EQ(key, 0);

  // Loading while read, Loaded once each at the end in creation order, the root first.
  EXPECT_TRUE(form.loadingWhenCaptionSet);
  EXPECT_TRUE(button.loadingWhenCaptionSet);
  EXPECT_FALSE(form.IsLoading());
  EXPECT_FALSE(button.IsLoading());
  EXPECT_EQ(form.loadLog, (std::vector<std::string>{"frmMain", "pnlTop", "btnOk", "lvColumns"}));
}

TEST_F(FormReaderTest, ReadsAnAncestorsResourceAndReusesInheritedComponents) {
  TTestForm form(nullptr);
  form.SetName("frmKept");
  ReadComponentResource(form,
                        "object frmBase: TTestFormBase\n"
                        "  object btnOk: TTestControl\n"
                        "    Caption = 'base'\n"
                        "    Left = 5\n"
                        "  end\n"
                        "end\n");
  TTestControl* button = &Child(form, "btnOk");
  form.loadLog.clear();
  ReadComponentResource(form,
                        "inherited frmMain: TTestForm\n"
                        "  object pnl: TTestControl\n"
                        "    inherited btnOk: TTestControl\n"
                        "      Caption = 'derived'\n"
                        "    end\n"
                        "  end\n"
                        "end\n");
  EXPECT_EQ(form.Name(), "frmKept");  // a named root keeps its name
  ASSERT_EQ(form.ComponentCount(), 2);
  EXPECT_EQ(&Child(form, "btnOk"), button);
  EXPECT_EQ(button->caption, "derived");
  EXPECT_EQ(button->left, 5);
  EXPECT_EQ(button->parent, &Child(form, "pnl"));
  EXPECT_EQ(form.loadLog, (std::vector<std::string>{"frmKept", "pnl", "btnOk"}));

  // Only the root's class or an ancestor's resource fits.
  EXPECT_THROW(ReadComponentResource(form, "object f: TTestColumn\nend"), EReadError);
  TTestFormBase base(nullptr);
  EXPECT_THROW(ReadComponentResource(base, "object f: TTestForm\nend"), EReadError);
}

TEST_F(FormReaderTest, CreatesTheTopObjectByClassName) {
  TComponent owner(nullptr);
  Owned<TComponent> created = CreateComponentFromResource(
      "object frmNew: TTestForm\n"
      "  object btn: TTestControl\n"
      "    OnClick = ButtonClick\n"
      "  end\n"
      "end\n",
      &owner);
  auto* form = dynamic_cast<TTestForm*>(created.get());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Name(), "frmNew");
  EXPECT_EQ(owner.FindComponent("frmNew"), form);
  Child(*form, "btn").OnClick(&owner);
  EXPECT_EQ(form->clicked, &owner);
  EXPECT_EQ(form->loadLog, (std::vector<std::string>{"frmNew", "btn"}));
  created.reset();
  EXPECT_EQ(owner.ComponentCount(), 0);

  const int alive = TTestControl::alive;
  EXPECT_THROW(CreateComponentFromResource("object f: TNoSuchForm\nend", &owner), EReadError);
  EXPECT_THROW(CreateComponentFromResource("object f: TTestFormBase\nend", &owner), EReadError);
  EXPECT_THROW(CreateComponentFromResource("object f: TTestForm\n"
                                           "  object a: TTestControl\n"
                                           "  end\n"
                                           "  object b: TTestControl\n"
                                           "    Left = 'x'\n"
                                           "  end\n"
                                           "end\n",
                                           &owner),
               EReadError);
  EXPECT_THROW(CreateComponentFromResource("object f: TTestForm", &owner), EParserError);
  EXPECT_EQ(TTestControl::alive, alive);
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST_F(FormReaderTest, ErrorsNameObjectPropertyAndPositionAndFreeWhatWasCreated) {
  struct Case {
    std::string text;  // line 3, inside lvColumns, indented by 4
    std::string path;
    std::string property;
    int column;
    std::string message;
  };
  const std::string list = "frmMain.lvColumns";
  const Case cases[] = {
      {"object x: TNoSuchClass\n    end", list + ".x", "", 5, "Class TNoSuchClass not found"},
      {"object x: TTestFormBase\n    end", list + ".x", "", 5, "cannot be created by name"},
      {"object lvColumns: TTestControl\n    end", list + ".lvColumns", "", 5, "already exists"},
      {"inherited lvColumns: TTestControl\n    end", list + ".lvColumns", "", 5,
       "cannot be placed inside itself"},
      {"Colour = 5", list, "Colour", 5, "Property Colour does not exist"},
      {"Font.Size2 = 5", list, "Font.Size2", 5, "Property Size2 does not exist"},
      {"Left.X = 5", list, "Left.X", 5, "Property Left has no sub-properties"},
      {"Left = 'abc'", list, "Left", 12, "Property Left does not take a string"},
      {"Left = 1.5", list, "Left", 12, "does not take a floating-point number"},
      {"Visible = Yes", list, "Visible", 15, "does not take an identifier"},
      {"Align = alMiddle", list, "Align", 13, "alMiddle"},
      {"Font.Color = clMauve", list, "Font.Color", 18, "does not take an identifier"},
      {"Font.Style = [fsBold, fsWide]", list, "Font.Style", 18, "fsWide"},
      {"Accel = '中'", list, "Accel", 13, "Invalid character"},
      {"Accel = 300", list, "Accel", 13, "does not take an integer"},
      {"Caption = [fsBold]", list, "Caption", 15, "does not take a set"},
      {"Font = 'x'", list, "Font", 12, "does not take a string"},
      {"Lines.Strings = ( 'a' 1 )", list, "Lines.Strings", 21, "does not take an integer"},
      {"Lines = ( 'a' )", list, "Lines", 13, ""},
      {"OnClick = NoSuchHandler", list, "OnClick", 15,
       "Handler NoSuchHandler not found in TTestForm"},
      {"OnClick = FormKeyDown", list, "OnClick", 15, "Invalid method signature"},
      {"OnClick = 'ButtonClick'", list, "OnClick", 15, "does not take a string"},
      {"Columns = < item Height = 1 end >", list + ".Columns[0]", "Height", 22, "Height"},
      {"Columns = ( 'a' )", list, "Columns", 15, "does not take a list"},
      {"Buddy = btnNowhere", list, "Buddy", 13, "Component btnNowhere not found"},
      {"Buddy = frmMain.lvColumns.x", list, "Buddy", 13, "frmMain.lvColumns.x not found"},
      {"Buddy = 'lvColumns'", list, "Buddy", 13, "does not take a string"},
      {"Font = lvColumns", list, "Font", 12, "does not take an identifier"},
      {"Columns = < item Partner = lvColumns end >", list + ".Columns[0]", "Partner", 32,
       "lvColumns is a TTestControl, not a TTestFormBase"},
  };
  const int alive = TTestControl::alive;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TTestForm form(nullptr);
    const std::string text = "object frmMain: TTestForm\n  object lvColumns: TTestControl\n    " +
                             c.text + "\n  end\nend\n";
    try {
      ReadComponentResource(form, text);
      if (c.message.empty()) {  // a control case: the same shape that reads
        EXPECT_EQ(Child(form, "lvColumns").lines.Count(), 1);
        continue;
      }
      ADD_FAILURE() << "read";
    } catch (const EReadError& error) {
      EXPECT_EQ(error.Path(), c.path);
      EXPECT_EQ(error.Property(), c.property);
      EXPECT_EQ(error.Line(), 3);
      EXPECT_EQ(error.Column(), c.column);
      EXPECT_NE(error.Message().find(c.message), std::string::npos) << error.Message();
      EXPECT_NE(error.Message().find(" at line 3, column " + std::to_string(c.column)),
                std::string::npos)
          << error.Message();
    }
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_FALSE(form.IsLoading());
    EXPECT_TRUE(form.loadLog.empty());
  }
  EXPECT_EQ(TTestControl::alive, alive);
}

// The published state of a root and its components, read through the class
// information, to compare two reads.
void DumpObject(const TObject& object, const std::string& prefix, const TComponent& root,
                std::string& out) {
  for (const PropInfo* prop : object.classInfo().Properties()) {
    const std::string name = prefix + prop->name;
    if (prop->kind == PropKind::Method) {
      out += name + "=" + root.classInfo().MethodName(prop->getMethod(object)) + "\n";
    } else if (prop->kind != PropKind::Class) {
      out += name + "=" + GetPropValue(object, *prop).asString() + "\n";
    } else if (const TObject* sub = prop->getObject(object); sub == nullptr) {
      out += name + "=nil\n";
    } else if (const auto* component = dynamic_cast<const TComponent*>(sub)) {
      out += name + "=" + component->Name() + "\n";
    } else if (const auto* lines = dynamic_cast<const TStrings*>(prop->getObject(object))) {
      out += name + "=" + lines->Text() + "\n";
    } else if (const auto* items = dynamic_cast<const TCollection*>(prop->getObject(object))) {
      for (int i = 0; i < items->Count(); ++i)
        DumpObject(*items->Items(i), name + "[" + std::to_string(i) + "].", root, out);
    } else {
      DumpObject(*prop->getObject(object), name + ".", root, out);
    }
  }
}

std::string Snapshot(const TComponent& root) {
  std::string out;
  DumpObject(root, "", root, out);
  for (int i = 0; i < root.ComponentCount(); ++i) {
    const TComponent* component = root.Components(i);
    const TComponent* parent = component->GetParentComponent();
    out += "-- " + component->ClassName() + " in " + (parent ? parent->Name() : "?") + "\n";
    DumpObject(*component, "", root, out);
  }
  return out;
}

TEST_F(FormReaderTest, WritesNonDefaultValuesThatReadBackTheSame) {
  TTestForm form(nullptr);
  ReadComponentResource(form, kSample);
  const std::string written = WriteComponentResource(form);
  EXPECT_EQ(written, R"(object frmMain: TTestForm
  Caption = '材料差异汇总表'
  Font.Name = '宋体'
  Font.Style = [fsBold]
  Font.Color = clRed
  OnKeyDown = FormKeyDown
  object pnlTop: TTestControl
    Align = alClient
    Ratio = 2.5
    Accel = 'X'
    object btnOk: TTestControl
      Caption = '条件1'
      Left = -12
      Visible = False
      OnClick = ButtonClick
    end
  end
  object lvColumns: TTestControl
    Caption = 'it''s'#13#10'ok'
    Data = {4181}
    Lines.Strings = (
      'one'
      '二')
    Columns = <
      item
        Caption = 'A'
        Width = 80
      end
      item
      end>
  end
end
)");
  Owned<TComponent> again = CreateComponentFromResource(written, nullptr);
  EXPECT_EQ(Snapshot(*again), Snapshot(form));
  EXPECT_EQ(WriteComponentResource(*again), written);
}

TEST_F(FormReaderTest, WritesValuesTheNotationCannotSpellSoTheyReadBack) {
  TTestForm form(nullptr);
  form.SetName("f");
  auto* control = new TTestControl(&form);  // owned and freed by the form
  control->SetParentComponent(&form);
  control->caption = std::string("\x01 tab\t ", 7) + Gb("汉字");
  control->accel = static_cast<char>(0xA1);
  control->ratio = 1e20;
  control->lines.Add("\x81");
  control->align = static_cast<TTestAlign>(7);
  control->OnClick = MakeMethod<&TTestForm::ButtonClick>(&form);
  TTestForm other(nullptr);
  form.OnClick = MakeMethod<&TTestForm::ButtonClick>(&other);  // not the root's: not written
  form.buddy = &other;                                         // not the root's either

  const std::string written = WriteComponentResource(form);
  EXPECT_EQ(written, R"(object f: TTestForm
  object TTestControl
    Caption = #1' tab'#9' 汉字'
    Align = 7
    Ratio = 1e+20
    Accel = 161
    Lines.Strings = (
      {81})
    OnClick = ButtonClick
  end
end
)");
  // An enumeration value without a name is refused on reading; the rest reads back.
  control->align = TTestAlign::alTop;
  Owned<TComponent> again = CreateComponentFromResource(WriteComponentResource(form), nullptr);
  form.OnClick = TMethod{};
  form.buddy = nullptr;
  EXPECT_EQ(Snapshot(*again), Snapshot(form));
}

// Components named forward and backward, the root by its name, a dotted name, a
// collection item's reference; the last value given wins.
const char* const kReferences = R"(object frmMain: TTestForm
  Buddy = btnLast
  object btnFirst: TTestControl
    Buddy = frmMain
  end
  object pnl: TTestControl
    object btnLast: TTestControl
      Buddy = BTNFIRST
    end
  end
  object lv: TTestControl
    Buddy = frmMain.btnLast
    Columns = <
      item
        Partner = frmMain
      end>
  end
  object x: TTestControl
    Buddy = lv
    Buddy = nil
  end
end
)";

TEST_F(FormReaderTest, ResolvesComponentReferencesOnceEveryComponentExists) {
  TTestForm form(nullptr);
  ReadComponentResource(form, kReferences);
  TTestControl& first = Child(form, "btnFirst");
  TTestControl& last = Child(form, "btnLast");
  TTestControl& list = Child(form, "lv");
  EXPECT_EQ(form.buddy.get(), &last);
  EXPECT_EQ(first.buddy.get(), &form);
  EXPECT_EQ(last.buddy.get(), &first);
  EXPECT_EQ(list.buddy.get(), &last);
  EXPECT_EQ(static_cast<TTestColumn*>(list.columns.Items(0))->partner.get(), &form);
  EXPECT_EQ(Child(form, "x").buddy.get(), nullptr);
  // Set while loading, before any Loaded.
  EXPECT_EQ(form.loadLog, (std::vector<std::string>{"frmMain>btnLast", "btnFirst>frmMain", "pnl",
                                                    "btnLast>btnFirst", "lv>btnLast", "x"}));

  // A reference made for a collection item that a later value deletes is dropped with it.
  TTestForm again(nullptr);
  ReadComponentResource(again,
                        "object f: TTestForm\n"
                        "  Columns = < item Partner = nothing end >\n"
                        "  Columns = < item end >\n"
                        "end\n");
  ASSERT_EQ(again.columns.Count(), 1);
  EXPECT_EQ(static_cast<TTestColumn*>(again.columns.Items(0))->partner.get(), nullptr);
}

// A windowed control form resources can create.
class TTestBox : public TWinControl {
 public:
  OX_CLASS_INFO()
  using TWinControl::TWinControl;
};

const ClassInfo& TTestBox::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TTestBox>("TTestBox", &TWinControl::StaticClassInfo()).creatable().build();
  return info;
}

TEST_F(FormReaderTest, AFormsActiveControlNamesAControlWrittenAfterIt) {
  RegisterClass(TTestBox::StaticClassInfo());
  TForm form(nullptr);
  // The form takes only a control that already sits on it.
  ReadComponentResource(form,
                        "object frmBaseGene: TForm\n"
                        "  ActiveControl = pgOption\n"
                        "  object pnl: TTestBox\n"
                        "    object pgOption: TTestBox\n"
                        "    end\n"
                        "  end\n"
                        "end\n");
  EXPECT_EQ(form.ActiveControl(), form.FindComponent("pgOption"));
  EXPECT_NE(WriteComponentResource(form).find("  ActiveControl = pgOption\n"), std::string::npos);
}

TEST_F(FormReaderTest, WritesReferencesAsNamesThatReadBack) {
  TTestForm form(nullptr);
  ReadComponentResource(form, kReferences);
  const std::string written = WriteComponentResource(form);
  EXPECT_EQ(written, R"(object frmMain: TTestForm
  Buddy = btnLast
  object btnFirst: TTestControl
    Buddy = frmMain
  end
  object pnl: TTestControl
    object btnLast: TTestControl
      Buddy = btnFirst
    end
  end
  object lv: TTestControl
    Columns = <
      item
        Partner = frmMain
      end>
    Buddy = btnLast
  end
  object x: TTestControl
  end
end
)");
  Owned<TComponent> copy = CreateComponentFromResource(written, nullptr);
  EXPECT_EQ(Snapshot(*copy), Snapshot(form));
  EXPECT_EQ(WriteComponentResource(*copy), written);
}

}  // namespace
}  // namespace ox
