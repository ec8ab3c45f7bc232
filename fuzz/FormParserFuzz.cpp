// Form resources of arbitrary bytes: parsing never crashes, and a refusal or a node
// always points into the text. A resource made of the fuzz classes below reads into
// components, or is refused with EReadError; what was read writes back as text that
// reads again and writes the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "platform/AsciiText.h"
#include "ui/FormParser.h"
#include "ui/FormReader.h"
#include "ui/FormWriter.h"

namespace {

using ox::fuzz::Check;

enum class TFuzzKind { fkNone, fkOne, fkTwo };

class TFuzzItem : public ox::TCollectionItem {
 public:
  OX_CLASS_INFO()
  using TCollectionItem::TCollectionItem;
  std::string caption;
  int width = 50;
};

const ox::ClassInfo& TFuzzItem::StaticClassInfo() {
  static const ox::ClassInfo info =
      ox::ClassBuilder<TFuzzItem>("TFuzzItem", &ox::TCollectionItem::StaticClassInfo())
          .property(
              "Caption", [](const TFuzzItem& i) { return i.caption; },
              [](TFuzzItem& i, const std::string& v) { i.caption = v; })
          .property(
              "Width", [](const TFuzzItem& i) { return i.width; },
              [](TFuzzItem& i, int v) { i.width = v; })
          .defaultValue(50)
          .build();
  return info;
}

// A component with a property of every kind and a handler of each event signature.
class TFuzzComponent : public ox::TComponent {
 public:
  OX_CLASS_INFO()
  using TComponent::TComponent;
  std::string caption;
  int left = 0;
  bool flag = false;
  TFuzzKind kind = TFuzzKind::fkNone;
  int style = 0;
  int color = 0;
  char accel = 0;
  double ratio = 0;
  ox::TStringList lines;
  ox::TCollection items{TFuzzItem::StaticClassInfo(),
                        [](ox::TCollection* c) -> std::unique_ptr<ox::TCollectionItem> {
                          return std::make_unique<TFuzzItem>(c);
                        }};
  ox::TNotifyEvent OnClick;
  ox::Event<ox::TObject*, int&> OnKey;
  void Clicked(ox::TObject*) {}
  void Keyed(ox::TObject*, int&) {}
};

const ox::IdentMap kFuzzColours{{{"clRed", 0x0000FF}, {"clBlue", 0xFF0000}}};

const ox::ClassInfo& TFuzzComponent::StaticClassInfo() {
  static const ox::ClassInfo info =
      ox::ClassBuilder<TFuzzComponent>("TFuzzComponent", &ox::TComponent::StaticClassInfo())
          .creatable()
          .property(
              "Caption", [](const TFuzzComponent& c) { return c.caption; },
              [](TFuzzComponent& c, const std::string& v) { c.caption = v; })
          .property(
              "Left", [](const TFuzzComponent& c) { return c.left; },
              [](TFuzzComponent& c, int v) { c.left = v; })
          .property(
              "Flag", [](const TFuzzComponent& c) { return c.flag; },
              [](TFuzzComponent& c, bool v) { c.flag = v; })
          .defaultValue(0)
          .enumeration(
              "Kind", [](const TFuzzComponent& c) { return c.kind; },
              [](TFuzzComponent& c, TFuzzKind v) { c.kind = v; }, {"fkNone", "fkOne", "fkTwo"})
          .defaultValue(0)
          .set(
              "Style", [](const TFuzzComponent& c) { return c.style; },
              [](TFuzzComponent& c, int v) { c.style = v; }, {"fsBold", "fsItalic"})
          .integer(
              "Color", [](const TFuzzComponent& c) { return c.color; },
              [](TFuzzComponent& c, int v) { c.color = v; }, kFuzzColours)
          .property(
              "Accel", [](const TFuzzComponent& c) { return c.accel; },
              [](TFuzzComponent& c, char v) { c.accel = v; })
          .property(
              "Ratio", [](const TFuzzComponent& c) { return c.ratio; },
              [](TFuzzComponent& c, double v) { c.ratio = v; })
          .object<ox::TStringList>(
              "Lines",
              [](const TFuzzComponent& c) { return const_cast<ox::TStringList*>(&c.lines); })
          .object<ox::TCollection>(
              "Items",
              [](const TFuzzComponent& c) { return const_cast<ox::TCollection*>(&c.items); })
          .event("OnClick", &TFuzzComponent::OnClick)
          .event("OnKey", &TFuzzComponent::OnKey)
          .handler<&TFuzzComponent::Clicked>("Clicked")
          .handler<&TFuzzComponent::Keyed>("Keyed")
          .build();
  return info;
}

// Positions are 1-based and inside the text.
void CheckPosition(ox::SourcePos pos, int lines) {
  Check(pos.line >= 1 && pos.line <= lines && pos.column >= 1);
}

// Checks the positions of a parsed tree; true when every object is a TFuzzComponent.
bool CheckObject(const ox::FormObject& object, int lines, int depth) {
  Check(depth <= ox::kMaxFormNesting);
  CheckPosition(object.pos, lines);
  for (const ox::FormProperty& property : object.properties) {
    CheckPosition(property.pos, lines);
    CheckPosition(property.value.pos, lines);
  }
  bool fuzzClassesOnly = ox::SameTextAscii(object.className, "TFuzzComponent");
  for (const ox::FormObject& child : object.children)
    fuzzClassesOnly = CheckObject(child, lines, depth + 1) && fuzzClassesOnly;
  return fuzzClassesOnly;
}

void CheckRoundTrip(std::string_view text) {
  ox::Owned<ox::TComponent> read;
  try {
    read = ox::CreateComponentFromResource(text, nullptr);
  } catch (const ox::EReadError&) {
    return;
  }
  const std::string written = ox::WriteComponentResource(*read);
  // A refusal of the written text escapes and stops the run with its message.
  const ox::Owned<ox::TComponent> again = ox::CreateComponentFromResource(written, nullptr);
  Check(ox::WriteComponentResource(*again) == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const bool registered = (ox::RegisterClass(TFuzzComponent::StaticClassInfo()), true);
  (void)registered;
  const std::string_view text = ox::fuzz::TextUnderCodePage(data, size);
  const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  bool fuzzClassesOnly = false;
  try {
    fuzzClassesOnly = CheckObject(ox::ParseForm(text), lines, 1);
  } catch (const ox::EParserError& error) {
    CheckPosition({error.Line(), error.Column()}, lines);
  }
  // The model's own classes are left to their own tests.
  if (fuzzClassesOnly) CheckRoundTrip(text);
  return 0;
}
