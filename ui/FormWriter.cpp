#include "ui/FormWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/CodePage.h"
#include "ui/FormParser.h"

namespace ox {

namespace {

bool IsSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDFFF;
}

// Quoted runs of UTF-8 with "''" for a quote; control characters and unpaired
// surrogates as #NNN codes between them.
std::string StringLiteral(std::u16string_view text) {
  std::string out;
  std::size_t runStart = 0;
  const auto closeRun = [&](std::size_t end) {
    if (end == runStart) return;
    out += '\'';
    for (char c : WideToUtf8(text.substr(runStart, end - runStart)))
      out.append(c == '\'' ? 2 : 1, c);
    out += '\'';
  };
  for (std::size_t i = 0; i < text.size();) {
    const char16_t unit = text[i];
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
                      text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    if (pair) {
      i += 2;
    } else if (unit < 0x20 || unit == 0x7F || IsSurrogate(unit)) {
      closeRun(i);
      out += '#' + std::to_string(unit);
      runStart = ++i;
    } else {
      ++i;
    }
  }
  closeRun(text.size());
  return out.empty() ? "''" : out;
}

std::string BinaryLiteral(std::string_view bytes) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "{";
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
  }
  return out + "}";
}

// A narrow text as a string, or as binary data when it is no GB text (the bytes would
// not survive being read back).
std::string TextLiteral(const std::string& narrow) {
  const std::u16string wide = MultiByteToWide(kFormCodePage, narrow);
  if (WideToMultiByte(kFormCodePage, wide) != narrow) return BinaryLiteral(narrow);
  return StringLiteral(wide);
}

// The shortest text that reads back as the same double, always with a point or an
// exponent so that it reads as a float and never as an out-of-range integer.
std::string FloatLiteral(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

bool IsDefault(const PropInfo& prop, std::int64_t ordinal) {
  return prop.defaultValue && *prop.defaultValue == ordinal;
}

// The notation of a value property, or nothing when it holds its default.
std::optional<std::string> ValueLiteral(const TObject& object, const PropInfo& prop) {
  const Variant value = prop.get(object);
  switch (prop.kind) {
    case PropKind::Boolean: {
      const bool flag = value.asBoolean();
      if (IsDefault(prop, flag ? 1 : 0)) return std::nullopt;
      return flag ? "True" : "False";
    }
    case PropKind::Float: {
      const double number = value.asDouble();
      if (number == 0 || !std::isfinite(number)) return std::nullopt;
      return FloatLiteral(number);
    }
    case PropKind::String: {
      const std::string text = value.asString();
      if (text.empty()) return std::nullopt;
      return TextLiteral(text);
    }
    default:
      break;
  }
  const std::int64_t ordinal = value.asInt64();
  if (IsDefault(prop, ordinal)) return std::nullopt;
  const auto index = static_cast<std::size_t>(ordinal);
  switch (prop.kind) {
    case PropKind::Enumeration:
      if (ordinal >= 0 && index < prop.names.size()) return prop.names[index];
      break;
    case PropKind::Set: {
      std::string text;
      for (std::size_t bit = 0; bit < prop.names.size() && bit < 64; ++bit)
        if ((ordinal >> bit) & 1) text.append(text.empty() ? "" : ", ").append(prop.names[bit]);
      return "[" + text + "]";
    }
    case PropKind::Char:
      if (ordinal >= 0 && ordinal < 0x80)
        return StringLiteral(std::u16string(1, static_cast<char16_t>(ordinal)));
      break;
    case PropKind::Integer:
      if (prop.identMap != nullptr)
        if (auto name = prop.identMap->NameOf(ordinal)) return name;
      break;
    default:
      break;
  }
  return std::to_string(ordinal);
}

class ResourceWriter {
 public:
  explicit ResourceWriter(const TComponent& root);
  std::string Write() {
    WriteComponent(root_, 0);
    return std::move(out_);
  }

 private:
  void Line(int depth, const std::string& text) {
    out_.append(static_cast<std::size_t>(depth) * 2, ' ').append(text).append("\n");
  }
  void WriteComponent(const TComponent& component, int depth);
  void WriteProperties(const TObject& object, const std::string& prefix, int depth);
  void WriteHandler(const TObject& object, const PropInfo& prop, const std::string& name,
                    int depth);
  void WriteReference(const TComponent& component, const PropInfo& prop, const std::string& name,
                      int depth);
  void WriteSubObject(const TObject& sub, const std::string& name, int depth);
  void WriteLines(const TStrings& lines, const std::string& name, int depth);
  void WriteCollection(const TCollection& collection, const std::string& name, int depth);

  const TComponent& root_;
  // The components written inside each component, in creation order.
  std::unordered_map<const TComponent*, std::vector<const TComponent*>> children_;
  std::vector<const TObject*> open_;  // the sub-objects being written, against cycles
  std::string out_;
};

ResourceWriter::ResourceWriter(const TComponent& root) : root_(root) {
  for (int i = 0; i < root.ComponentCount(); ++i) {
    const TComponent* component = root.Components(i);
    const TComponent* parent = component->GetParentComponent();
    if (parent == nullptr || parent->Owner() != &root) parent = &root;
    children_[parent].push_back(component);
  }
}

void ResourceWriter::WriteComponent(const TComponent& component, int depth) {
  const std::string& name = component.Name();
  Line(depth, "object " + (name.empty() ? "" : name + ": ") + component.ClassName());
  WriteProperties(component, "", depth + 1);
  if (const auto children = children_.find(&component); children != children_.end())
    for (const TComponent* child : children->second)
      WriteComponent(*child, depth + 1);
  Line(depth, "end");
}

void ResourceWriter::WriteProperties(const TObject& object, const std::string& prefix, int depth) {
  // A component's name is written in its "object" line.
  const PropInfo* componentName = TComponent::StaticClassInfo().FindProperty("Name");
  for (const PropInfo* prop : object.classInfo().Properties()) {
    const std::string name = prefix + prop->name;
    if (prop->kind == PropKind::Method) {
      WriteHandler(object, *prop, name, depth);
    } else if (prop->kind == PropKind::Class) {
      const TObject* sub = prop->getObject(object);
      if (const auto* component = dynamic_cast<const TComponent*>(sub))
        WriteReference(*component, *prop, name, depth);
      else if (sub != nullptr && std::find(open_.begin(), open_.end(), sub) == open_.end())
        WriteSubObject(*sub, name, depth);
    } else if (prop != componentName && prop->get && prop->set) {
      if (const auto literal = ValueLiteral(object, *prop)) Line(depth, name + " = " + *literal);
    }
  }
}

void ResourceWriter::WriteHandler(const TObject& object, const PropInfo& prop,
                                  const std::string& name, int depth) {
  const TMethod method = prop.getMethod(object);
  if (method.Data != static_cast<const void*>(&root_)) return;  // only the root's handlers
  const std::string handler = root_.classInfo().MethodName(method);
  if (!handler.empty()) Line(depth, name + " = " + handler);
}

// A component is a reference, not a part: written as its name when the reader can find
// it again (the root or one it owns) and the property can be set.
void ResourceWriter::WriteReference(const TComponent& component, const PropInfo& prop,
                                    const std::string& name, int depth) {
  if (!prop.setObject || (&component != &root_ && component.Owner() != &root_)) return;
  if (!component.Name().empty()) Line(depth, name + " = " + component.Name());
}

void ResourceWriter::WriteSubObject(const TObject& sub, const std::string& name, int depth) {
  if (const auto* lines = dynamic_cast<const TStrings*>(&sub))
    return WriteLines(*lines, name, depth);
  if (const auto* collection = dynamic_cast<const TCollection*>(&sub))
    return WriteCollection(*collection, name, depth);
  open_.push_back(&sub);
  WriteProperties(sub, name + ".", depth);
  open_.pop_back();
}

void ResourceWriter::WriteLines(const TStrings& lines, const std::string& name, int depth) {
  if (lines.Count() == 0) return;
  Line(depth, name + ".Strings = (");
  for (int i = 0; i < lines.Count(); ++i)
    Line(depth + 1, TextLiteral(lines.Strings(i)) + (i + 1 == lines.Count() ? ")" : ""));
}

void ResourceWriter::WriteCollection(const TCollection& collection, const std::string& name,
                                     int depth) {
  if (collection.Count() == 0) return;
  Line(depth, name + " = <");
  for (int i = 0; i < collection.Count(); ++i) {
    Line(depth + 1, "item");
    open_.push_back(&collection);
    WriteProperties(*collection.Items(i), "", depth + 2);
    open_.pop_back();
    Line(depth + 1, i + 1 == collection.Count() ? "end>" : "end");
  }
}

}  // namespace

std::string WriteComponentResource(const TComponent& root) {
  return ResourceWriter(root).Write();
}

}  // namespace ox
