#include <gtest/gtest.h>

#include "ui/Classes.h"
#include "ui/TypeInfo.h"

namespace ox {
namespace {

enum class TShape { stCircle, stSquare, stStar };
const IdentMap kColours{{{"clRed", 0x0000FF}, {"clWhite", 0xFFFFFF}}};

// A component with one property of every kind.
class TSample : public TComponent {
 public:
  OX_CLASS_INFO()
  using TComponent::TComponent;

  std::string caption;
  int count = 0;
  bool active = false;
  char accel = 'A';
  double ratio = 0;
  TShape shape = TShape::stCircle;
  int style = 0;
  int colour = 0;
  TStringList lines;
  TNotifyEvent OnClick;
  Event<TObject*, int&> OnCount;

  const std::string& Caption() const { return caption; }
  void SetCaption(const std::string& value) { caption = value; }
  void Clicked(TObject* sender) { lastSender = sender; }
  void Counted(TObject*, int& n) { n += 1; }
  TObject* lastSender = nullptr;
};

const ClassInfo& TSample::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TSample>("TSample", &TComponent::StaticClassInfo())
          .creatable()
          .property("Caption", &TSample::Caption, &TSample::SetCaption)
          .property(
              "Count", [](const TSample& s) { return s.count; },
              [](TSample& s, int v) { s.count = v; })
          .property(
              "Active", [](const TSample& s) { return s.active; },
              [](TSample& s, bool v) { s.active = v; })
          .property(
              "Accel", [](const TSample& s) { return s.accel; },
              [](TSample& s, char v) { s.accel = v; })
          .property(
              "Ratio", [](const TSample& s) { return s.ratio; },
              [](TSample& s, double v) { s.ratio = v; })
          .enumeration(
              "Shape", [](const TSample& s) { return s.shape; },
              [](TSample& s, TShape v) { s.shape = v; }, {"stCircle", "stSquare", "stStar"})
          .set(
              "Style", [](const TSample& s) { return s.style; },
              [](TSample& s, int v) { s.style = v; }, {"fsBold", "fsItalic", "fsUnderline"})
          .integer(
              "Color", [](const TSample& s) { return s.colour; },
              [](TSample& s, int v) { s.colour = v; }, kColours)
          .property(
              "ReadOnlyCount", [](const TSample& s) { return s.count; }, nullptr)
          .object<TStringList>("Lines",
                               [](const TSample& s) { return const_cast<TStringList*>(&s.lines); })
          .event("OnClick", &TSample::OnClick)
          .event("OnCount", &TSample::OnCount)
          .handler<&TSample::Clicked>("Clicked")
          .handler<&TSample::Counted>("Counted")
          .build();
  return info;
}

// A descendant that redeclares a property and adds one.
class TSampleChild : public TSample {
 public:
  OX_CLASS_INFO()
  using TSample::TSample;
};

const ClassInfo& TSampleChild::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TSampleChild>("TSampleChild", &TSample::StaticClassInfo())
          .property("Caption", &TSample::Caption, nullptr)
          .property(
              "Extra", [](const TSampleChild&) { return 7; }, nullptr)
          .build();
  return info;
}

TEST(TypeInfo, FindsPropertiesIgnoringCaseUpTheChain) {
  const ClassInfo& info = TSampleChild::StaticClassInfo();
  ASSERT_NE(info.FindProperty("NAME"), nullptr);
  EXPECT_EQ(info.FindProperty("name")->name, "Name");
  EXPECT_EQ(info.FindProperty("caption")->set, nullptr);  // the redeclaration wins
  EXPECT_EQ(info.FindProperty("Missing"), nullptr);
  std::vector<std::string> names;
  for (const PropInfo* p : info.Properties())
    names.push_back(p->name);
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names[0], "Name");
  EXPECT_EQ(names[2], "Caption");
  EXPECT_EQ(names.back(), "Extra");
  EXPECT_TRUE(info.InheritsFrom(TComponent::StaticClassInfo()));
  EXPECT_FALSE(TComponent::StaticClassInfo().InheritsFrom(info));
}

TEST(TypeInfo, KindsFollowTheGetterTypes) {
  const ClassInfo& info = TSample::StaticClassInfo();
  struct Case {
    const char* name;
    PropKind kind;
  };
  for (const Case& c : {Case{"Caption", PropKind::String},
                        {"Count", PropKind::Integer},
                        {"Active", PropKind::Boolean},
                        {"Accel", PropKind::Char},
                        {"Ratio", PropKind::Float},
                        {"Shape", PropKind::Enumeration},
                        {"Style", PropKind::Set},
                        {"Color", PropKind::Integer},
                        {"Lines", PropKind::Class},
                        {"OnClick", PropKind::Method}}) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(info.FindProperty(c.name)->kind, c.kind);
  }
}

TEST(TypeInfo, SetsValuesByVariantWithNamesAndSetTexts) {
  TSample s(nullptr);
  const ClassInfo& info = s.classInfo();
  auto set = [&](const char* name, const Variant& v) {
    SetPropValue(s, *info.FindProperty(name), v);
  };
  auto get = [&](const char* name) { return GetPropValue(s, *info.FindProperty(name)); };
  set("Shape", "stStar");
  EXPECT_EQ(s.shape, TShape::stStar);
  set("shape", 1);
  EXPECT_EQ(get("Shape"), Variant("stSquare"));
  set("Style", "[fsBold, fsUnderline]");
  EXPECT_EQ(s.style, 0b101);
  EXPECT_EQ(get("Style"), Variant("[fsBold,fsUnderline]"));
  set("Style", "[]");
  EXPECT_EQ(s.style, 0);
  set("Color", "clRed");
  EXPECT_EQ(s.colour, 0xFF);
  set("Color", 12);
  EXPECT_EQ(s.colour, 12);
  set("Accel", "Z");
  EXPECT_EQ(s.accel, 'Z');
  set("Active", "True");
  EXPECT_TRUE(s.active);
  set("Ratio", "2.5");
  EXPECT_DOUBLE_EQ(s.ratio, 2.5);
  set("Count", "42");
  EXPECT_EQ(get("Count"), Variant(42));

  EXPECT_THROW(set("Shape", "stOval"), EPropertyError);
  EXPECT_THROW(set("Style", "[fsWide]"), EPropertyError);
  EXPECT_THROW(set("Style", "fsBold"), EPropertyError);
  EXPECT_THROW(set("Count", "many"), EPropertyError);
  EXPECT_THROW(set("Accel", "AB"), EPropertyError);
  EXPECT_THROW(set("ReadOnlyCount", 1), EPropertyError);
  EXPECT_THROW(set("OnClick", 1), EPropertyError);
}

TEST(TypeInfo, MethodPointersAreStoredAndCalledLaterWithAnySender) {
  TSample form(nullptr);
  TSample button(nullptr);
  const PublishedMethod* clicked = form.classInfo().FindMethod("clicked");
  ASSERT_NE(clicked, nullptr);
  const TMethod method = clicked->make(&form);
  EXPECT_TRUE(Assigned(method));
  EXPECT_EQ(method.Data, &form);

  // Stored as two parts and put back together later.
  const void* code = method.Code;
  void* data = method.Data;
  button.classInfo().FindProperty("OnClick")->setMethod(button, TMethod{code, data});
  button.OnClick(&button);
  EXPECT_EQ(form.lastSender, &button);
  EXPECT_EQ(form.classInfo().MethodName(button.OnClick.Method()), "Clicked");

  // A handler of another signature is refused, not called.
  const TMethod counted = form.classInfo().FindMethod("Counted")->make(&form);
  EXPECT_THROW(button.OnClick = counted, EInvalidMethod);
  button.OnCount = counted;
  int n = 1;
  button.OnCount(&button, n);
  EXPECT_EQ(n, 2);

  button.OnClick = TMethod{};
  EXPECT_FALSE(button.OnClick);
  button.OnClick(&button);  // nothing assigned: nothing happens
}

TEST(TypeInfo, RegisteredClassesAreCreatedByName) {
  RegisterClass(TSample::StaticClassInfo());
  const ClassInfo* info = FindClass("tsample");
  ASSERT_NE(info, nullptr);
  TComponent owner(nullptr);
  TComponent* created = info->Create(&owner);
  EXPECT_EQ(created->ClassName(), "TSample");
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(FindClass("TNoSuchClass"), nullptr);
  EXPECT_THROW(TComponent::StaticClassInfo().Create(&owner), EPropertyError);
}

}  // namespace
}  // namespace ox
