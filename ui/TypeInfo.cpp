#include "ui/TypeInfo.h"

#include <mutex>
#include <unordered_set>

#include "platform/AsciiText.h"
#include "ui/ClassRegistry.h"

namespace ox {

std::string UpperPropertyName(std::string_view name) {
  return UpperAscii(name);
}

// ---- TObject ---------------------------------------------------------------

const ClassInfo& TObject::StaticClassInfo() {
  static const ClassInfo info = ClassBuilder<TObject>("TObject", nullptr).build();
  return info;
}

const std::string& TObject::ClassName() const {
  return classInfo().name();
}

bool TObject::InheritsFrom(const ClassInfo& info) const {
  return classInfo().InheritsFrom(info);
}

// ---- IdentMap --------------------------------------------------------------

std::optional<std::int64_t> IdentMap::ValueOf(std::string_view name) const {
  for (const auto& [ident, value] : entries)
    if (SameTextAscii(ident, name)) return value;
  return std::nullopt;
}

std::optional<std::string> IdentMap::NameOf(std::int64_t value) const {
  for (const auto& [ident, v] : entries)
    if (v == value) return ident;
  return std::nullopt;
}

// ---- ClassInfo -------------------------------------------------------------

bool ClassInfo::InheritsFrom(const ClassInfo& other) const {
  for (const ClassInfo* c = this; c != nullptr; c = c->parent_)
    if (c == &other) return true;
  return false;
}

const PropInfo* ClassInfo::FindProperty(std::string_view name) const {
  const std::string key = UpperPropertyName(name);
  for (const ClassInfo* c = this; c != nullptr; c = c->parent_) {
    const auto found = c->byName_.find(key);
    if (found != c->byName_.end()) return found->second;
  }
  return nullptr;
}

std::vector<const PropInfo*> ClassInfo::Properties() const {
  std::vector<const ClassInfo*> chain;
  for (const ClassInfo* c = this; c != nullptr; c = c->parent_)
    chain.push_back(c);
  std::vector<const PropInfo*> result;
  std::unordered_map<std::string, std::size_t> position;
  for (auto c = chain.rbegin(); c != chain.rend(); ++c) {
    for (const auto& prop : (*c)->properties_) {
      const std::string key = UpperPropertyName(prop->name);
      const auto [it, inserted] = position.emplace(key, result.size());
      if (inserted)
        result.push_back(prop.get());
      else
        result[it->second] = prop.get();
    }
  }
  return result;
}

const PublishedMethod* ClassInfo::FindMethod(std::string_view name) const {
  for (const ClassInfo* c = this; c != nullptr; c = c->parent_)
    for (const PublishedMethod& method : c->methods_)
      if (SameTextAscii(method.name, name)) return &method;
  return nullptr;
}

std::string ClassInfo::MethodName(const TMethod& method) const {
  if (method.Code == nullptr) return {};
  // Every pair made for one method shares that method's thunk, whatever its object.
  for (const ClassInfo* c = this; c != nullptr; c = c->parent_)
    for (const PublishedMethod& published : c->methods_)
      if (published.make(nullptr).Code == method.Code) return published.name;
  return {};
}

TComponent* ClassInfo::Create(TComponent* owner) const {
  if (!create_) throw EPropertyError("Class " + name_ + " cannot be created by name");
  return create_(owner);
}

// ---- class registry --------------------------------------------------------

namespace {

struct Registry {
  std::mutex lock;
  std::unordered_map<std::string, const ClassInfo*> byName;  // upper-cased names
};

Registry& Classes() {
  static Registry registry;
  return registry;
}

}  // namespace

void RegisterClass(const ClassInfo& info) {
  Registry& registry = Classes();
  const std::lock_guard guard(registry.lock);
  registry.byName[UpperAscii(info.name())] = &info;
}

const ClassInfo* FindClass(std::string_view name) {
  static std::once_flag standard;
  std::call_once(standard, RegisterStandardClasses);
  Registry& registry = Classes();
  const std::lock_guard guard(registry.lock);
  const auto found = registry.byName.find(UpperAscii(name));
  return found == registry.byName.end() ? nullptr : found->second;
}

// ---- property values -------------------------------------------------------

std::string SetToString(const PropInfo& prop, std::int64_t bits) {
  std::string text = "[";
  for (std::size_t i = 0; i < prop.names.size() && i < 64; ++i) {
    if ((bits >> i) & 1) {
      if (text.size() > 1) text += ',';
      text += prop.names[i];
    }
  }
  return text + "]";
}

std::int64_t StringToSet(const PropInfo& prop, std::string_view text) {
  text = TrimBlanks(text);
  if (text.size() < 2 || text.front() != '[' || text.back() != ']')
    throw EPropertyError("Invalid set text for property " + prop.name);
  text = text.substr(1, text.size() - 2);
  std::int64_t bits = 0;
  while (!TrimBlanks(text).empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view element = TrimBlanks(text.substr(0, comma));
    bool found = false;
    for (std::size_t i = 0; i < prop.names.size() && i < 64; ++i) {
      if (SameTextAscii(prop.names[i], element)) {
        bits |= std::int64_t{1} << i;
        found = true;
      }
    }
    if (!found) throw EPropertyError("Invalid property element: " + std::string(element));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return bits;
}

namespace {

[[noreturn]] void WrongKind(const PropInfo& prop) {
  throw EPropertyError("Invalid property type: " + prop.name);
}

std::int64_t EnumerationValue(const PropInfo& prop, const Variant& value) {
  if (!value.isText()) return value.asInt64();
  const std::string name = value.asString();
  for (std::size_t i = 0; i < prop.names.size(); ++i)
    if (SameTextAscii(prop.names[i], name)) return static_cast<std::int64_t>(i);
  throw EPropertyError("Invalid property value: " + name);
}

std::int64_t IntegerValue(const PropInfo& prop, const Variant& value) {
  if (value.isText() && prop.identMap != nullptr) {
    if (const auto named = prop.identMap->ValueOf(value.asString())) return *named;
  }
  return value.asInt64();
}

Variant ConvertedForSet(const PropInfo& prop, const Variant& value) {
  switch (prop.kind) {
    case PropKind::Enumeration:
      return Variant(EnumerationValue(prop, value));
    case PropKind::Set:
      return Variant(value.isText() ? StringToSet(prop, value.asString()) : value.asInt64());
    case PropKind::Integer:
      return Variant(IntegerValue(prop, value));
    case PropKind::Char: {
      if (!value.isText()) return Variant(value.asInt64());
      const std::string text = value.asString();
      if (text.size() != 1) throw EPropertyError("Invalid character for property " + prop.name);
      return Variant(static_cast<std::int32_t>(static_cast<unsigned char>(text[0])));
    }
    case PropKind::Boolean:
      return Variant(value.asBoolean());
    case PropKind::Float:
      return Variant(value.asDouble());
    case PropKind::String:
      return Variant(value.asString());
    default:
      WrongKind(prop);
  }
}

}  // namespace

Variant GetPropValue(const TObject& object, const PropInfo& prop, bool preferStrings) {
  if (!prop.get) WrongKind(prop);
  Variant value = prop.get(object);
  if (!preferStrings) return value;
  if (prop.kind == PropKind::Enumeration) {
    const std::int64_t ordinal = value.asInt64();
    if (ordinal >= 0 && static_cast<std::size_t>(ordinal) < prop.names.size())
      return Variant(prop.names[static_cast<std::size_t>(ordinal)]);
  }
  if (prop.kind == PropKind::Set) return Variant(SetToString(prop, value.asInt64()));
  return value;
}

void SetPropValue(TObject& object, const PropInfo& prop, const Variant& value) {
  if (!prop.set) throw EPropertyError("Property " + prop.name + " is read-only");
  try {
    prop.set(object, ConvertedForSet(prop, value));
  } catch (const EVariantError& error) {
    throw EPropertyError("Invalid value for property " + prop.name + ": " + error.Message());
  }
}

}  // namespace ox
