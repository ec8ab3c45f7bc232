#include "ui/FormReader.h"

#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"

namespace ox {

EReadError::EReadError(std::string path, std::string property, const std::string& reason,
                       SourcePos pos)
    : Exception("Error reading " + (property.empty() ? path : path + "." + property) + ": " +
                reason + PositionText(pos)),
      path_(std::move(path)),
      property_(std::move(property)),
      pos_(pos) {}

namespace {

const std::string& DisplayName(const FormObject& node) {
  return node.name.empty() ? node.className : node.name;
}

bool IsClassOrAncestor(const ClassInfo& info, std::string_view className) {
  for (const ClassInfo* c = &info; c != nullptr; c = c->parent())
    if (SameTextAscii(c->name(), className)) return true;
  return false;
}

// Runs `action`, turning a failure of the model into an EReadError that says where.
template <typename Action>
void Guarded(const std::string& path, const std::string& property, SourcePos pos, Action&& action) {
  try {
    action();
  } catch (const EReadError&) {
    throw;
  } catch (const Exception& error) {
    throw EReadError(path, property, error.Message(), pos);
  }
}

const ClassInfo& ClassOf(const FormObject& node, const std::string& path) {
  const ClassInfo* info = FindClass(node.className);
  if (info == nullptr)
    throw EReadError(path, "", "Class " + node.className + " not found", node.pos);
  return *info;
}

const char* KindText(FormValueKind kind) {
  switch (kind) {
    case FormValueKind::Integer:
      return "an integer";
    case FormValueKind::Float:
      return "a floating-point number";
    case FormValueKind::Identifier:
      return "an identifier";
    case FormValueKind::String:
      return "a string";
    case FormValueKind::Set:
      return "a set";
    case FormValueKind::List:
      return "a list";
    case FormValueKind::Collection:
      return "a collection";
    case FormValueKind::Binary:
      return "binary data";
  }
  return "a value";
}

[[noreturn]] void Mismatch(const PropInfo& prop, const FormValue& value) {
  throw EPropertyError("Property " + prop.name + " does not take " + KindText(value.kind));
}

// The Variant SetPropValue gets for a value of a value-kind property; only the value
// kinds the notation writes for that property kind are taken.
Variant ValueFor(const PropInfo& prop, const FormValue& value) {
  const PropKind kind = prop.kind;
  switch (value.kind) {
    case FormValueKind::Integer:
      if (kind == PropKind::Integer || kind == PropKind::Float) return Variant(value.integer);
      if (kind == PropKind::Char && value.integer >= 0 && value.integer <= 255)
        return Variant(value.integer);  // a character the notation's strings cannot hold
      break;
    case FormValueKind::Float:
      if (kind == PropKind::Float) return Variant(value.number);
      break;
    case FormValueKind::Identifier:
      if (kind == PropKind::Enumeration) return Variant(value.identifier);
      if (kind == PropKind::Integer && prop.identMap != nullptr &&
          prop.identMap->ValueOf(value.identifier))
        return Variant(value.identifier);
      if (kind == PropKind::Boolean && SameTextAscii(value.identifier, "True"))
        return Variant(true);
      if (kind == PropKind::Boolean && SameTextAscii(value.identifier, "False"))
        return Variant(false);
      break;
    case FormValueKind::String:
      if (kind == PropKind::String || kind == PropKind::Char)
        return Variant(WideToMultiByte(kFormCodePage, value.text));
      break;
    case FormValueKind::Binary:
      if (kind == PropKind::String) return Variant(value.bytes);
      break;
    case FormValueKind::Set:
      if (kind == PropKind::Set) {
        std::string text = "[";
        for (const std::string& element : value.elements)
          text.append(text.size() > 1 ? "," : "").append(element);
        return Variant(text + "]");
      }
      break;
    case FormValueKind::List:
    case FormValueKind::Collection:
      break;
  }
  Mismatch(prop, value);
}

// A line of a string list: a string, or binary data for a line that is no GB text.
std::string LineOf(const FormValue& item) {
  if (item.kind == FormValueKind::Binary) return item.bytes;
  if (item.kind == FormValueKind::String) return WideToMultiByte(kFormCodePage, item.text);
  throw EPropertyError(std::string("A string list does not take ") + KindText(item.kind));
}

void AssignLines(TStrings& lines, const FormValue& value) {
  if (value.kind != FormValueKind::List)
    throw EPropertyError(std::string("A string list does not take ") + KindText(value.kind));
  std::vector<std::string> texts;
  texts.reserve(value.items.size());
  for (const FormValue& item : value.items)
    texts.push_back(LineOf(item));
  lines.BeginUpdate();
  try {
    lines.Clear();
    for (std::string& text : texts)
      lines.Add(std::move(text));
  } catch (...) {
    lines.EndUpdate();
    throw;
  }
  lines.EndUpdate();
}

// A component reused by "inherited" and written inside itself would become its own
// parent; chains deeper than the notation nests are refused too, which bounds the walk.
void CheckPlacement(const TComponent& child, const TComponent& container) {
  int depth = 0;
  for (const TComponent* c = &container; c != nullptr; c = c->GetParentComponent()) {
    if (c == &child) throw EComponentError(child.Name() + " cannot be placed inside itself");
    if (++depth > kMaxFormNesting)
      throw EComponentError("Components nested deeper than " + std::to_string(kMaxFormNesting) +
                            " levels");
  }
}

// What a (dotted) property name addresses: a property of an object, or the lines of a
// string list ("Items.Strings", the notation's name for them).
struct PropTarget {
  TObject* object = nullptr;
  const PropInfo* prop = nullptr;
  TStrings* lines = nullptr;
};

PropTarget Resolve(TObject& object, std::string_view name) {
  TObject* current = &object;
  for (;;) {
    const std::size_t dot = name.find('.');
    const std::string_view segment = name.substr(0, dot);
    const PropInfo* prop = current->classInfo().FindProperty(segment);
    if (dot == std::string_view::npos) {
      auto* lines = dynamic_cast<TStrings*>(current);
      if (prop == nullptr && lines != nullptr && SameTextAscii(segment, "Strings"))
        return {current, nullptr, lines};
      if (prop == nullptr)
        throw EPropertyError("Property " + std::string(segment) + " does not exist");
      return {current, prop, nullptr};
    }
    if (prop == nullptr || prop->kind != PropKind::Class)
      throw EPropertyError("Property " + std::string(segment) + " has no sub-properties");
    current = prop->getObject(*current);
    if (current == nullptr)
      throw EPropertyError("Property " + std::string(segment) + " holds no object");
    name.remove_prefix(dot + 1);
  }
}

// Whether `value` names a component for the property: an identifier given to a
// component-valued property with a setter (one without a setter holds a part).
bool IsReference(const PropTarget& target, const FormValue& value) {
  const PropInfo* prop = target.prop;
  return prop != nullptr && prop->kind == PropKind::Class && prop->setObject &&
         value.kind == FormValueKind::Identifier &&
         prop->propertyClass().InheritsFrom(TComponent::StaticClassInfo());
}

// A component reference read from the text, set once every component of the resource
// exists, since it may name one written further on.
struct Fixup {
  TObject* object;           // the component or collection item the property was read for
  std::weak_ptr<void> life;  // expires when that object is freed
  std::string property;      // the (dotted) property name, from `object`
  const PropInfo* prop;      // the property it named then
  std::string reference;     // "Name", "Owner.Name" or "nil"
  std::string path;          // the object's path, for messages
  SourcePos pos;             // where the value is
};

// Reads the nodes of one resource into a root; frees what it created when it fails.
class ResourceReader {
 public:
  explicit ResourceReader(TComponent& root) : root_(root) {}
  void Read(const FormObject& top);

 private:
  void MarkLoading(TComponent& component);
  void ReadBody(TComponent& component, const FormObject& node, const std::string& path);
  void ReadChild(TComponent& container, const FormObject& node, const std::string& parentPath);
  TComponent& ChildFor(const FormObject& node, const std::string& path);
  void ReadProperty(TObject& object, const std::weak_ptr<void>& life, const FormProperty& property,
                    const std::string& path);
  void AssignValue(const PropTarget& target, const FormValue& value, const std::string& path);
  void AssignObject(TObject& object, const PropInfo& prop, const FormValue& value,
                    const std::string& path);
  void BindHandler(TObject& object, const PropInfo& prop, const FormValue& value);
  void ReadCollection(TCollection& collection, const FormValue& value, const std::string& path);
  void ResolveReferences();
  TComponent* Referenced(std::string_view reference, const PropInfo& prop) const;
  TComponent* FindTopLevel(std::string_view name) const;
  void Abandon();

  TComponent& root_;
  std::string topName_;  // the name the text gives the root
  std::vector<Fixup> fixups_;
  std::vector<ComponentRef<TComponent>> created_;
  std::vector<ComponentRef<TComponent>> loading_;  // in creation order, the root first
  std::unordered_set<const TComponent*> marked_;
};

void ResourceReader::Read(const FormObject& top) {
  try {
    MarkLoading(root_);
    const std::string& path = DisplayName(top);
    if (root_.Name().empty()) Guarded(path, "", top.pos, [&] { root_.SetName(top.name); });
    topName_ = top.name;
    ReadBody(root_, top, path);
    ResolveReferences();
    for (const ComponentRef<TComponent>& component : loading_)
      if (component) component->Loaded();
  } catch (...) {
    Abandon();
    throw;
  }
}

void ResourceReader::MarkLoading(TComponent& component) {
  if (!marked_.insert(&component).second) return;
  component.SetLoading(true);
  loading_.emplace_back(&component);
}

void ResourceReader::ReadBody(TComponent& component, const FormObject& node,
                              const std::string& path) {
  for (const FormProperty& property : node.properties)
    ReadProperty(component, component.LifeToken(), property, path);
  for (const FormObject& child : node.children)
    ReadChild(component, child, path);
}

void ResourceReader::ReadChild(TComponent& container, const FormObject& node,
                               const std::string& parentPath) {
  const std::string path = parentPath + "." + DisplayName(node);
  TComponent& child = ChildFor(node, path);
  Guarded(path, "", node.pos, [&] {
    CheckPlacement(child, container);
    child.SetParentComponent(&container);
  });
  ReadBody(child, node, path);
}

TComponent& ResourceReader::ChildFor(const FormObject& node, const std::string& path) {
  if (node.kind == FormObjectKind::Inherited) {
    if (TComponent* existing = root_.FindComponent(node.name)) {
      if (!IsClassOrAncestor(existing->classInfo(), node.className))
        throw EReadError(path, "",
                         node.name + " is a " + existing->ClassName() + ", not a " + node.className,
                         node.pos);
      MarkLoading(*existing);
      return *existing;
    }
  }
  const ClassInfo& info = ClassOf(node, path);
  TComponent* child = nullptr;
  Guarded(path, "", node.pos, [&] { child = info.Create(&root_); });
  created_.emplace_back(child);
  MarkLoading(*child);
  Guarded(path, "", node.pos, [&] { child->SetName(node.name); });
  return *child;
}

void ResourceReader::ReadProperty(TObject& object, const std::weak_ptr<void>& life,
                                  const FormProperty& property, const std::string& path) {
  PropTarget target;
  Guarded(path, property.name, property.pos, [&] { target = Resolve(object, property.name); });
  if (IsReference(target, property.value)) {
    fixups_.push_back({&object, life, property.name, target.prop, property.value.identifier, path,
                       property.value.pos});
    return;
  }
  Guarded(path, property.name, property.value.pos,
          [&] { AssignValue(target, property.value, path + "." + property.name); });
}

void ResourceReader::AssignValue(const PropTarget& target, const FormValue& value,
                                 const std::string& path) {
  if (target.lines != nullptr) return AssignLines(*target.lines, value);
  switch (target.prop->kind) {
    case PropKind::Method:
      return BindHandler(*target.object, *target.prop, value);
    case PropKind::Class:
      return AssignObject(*target.object, *target.prop, value, path);
    default:
      return SetPropValue(*target.object, *target.prop, ValueFor(*target.prop, value));
  }
}

void ResourceReader::AssignObject(TObject& object, const PropInfo& prop, const FormValue& value,
                                  const std::string& path) {
  TObject* sub = prop.getObject(object);
  if (auto* lines = dynamic_cast<TStrings*>(sub); lines && value.kind == FormValueKind::List)
    return AssignLines(*lines, value);
  if (auto* collection = dynamic_cast<TCollection*>(sub);
      collection && value.kind == FormValueKind::Collection)
    return ReadCollection(*collection, value, path);
  Mismatch(prop, value);
}

void ResourceReader::BindHandler(TObject& object, const PropInfo& prop, const FormValue& value) {
  if (value.kind != FormValueKind::Identifier) Mismatch(prop, value);
  const PublishedMethod* method = root_.classInfo().FindMethod(value.identifier);
  if (method == nullptr)
    throw EPropertyError("Handler " + value.identifier + " not found in " + root_.ClassName());
  prop.setMethod(object, method->make(&root_));
}

void ResourceReader::ReadCollection(TCollection& collection, const FormValue& value,
                                    const std::string& path) {
  collection.Clear();
  for (std::size_t i = 0; i < value.collection.size(); ++i) {
    TCollectionItem* item = collection.Add();
    const std::string itemPath = path + "[" + std::to_string(i) + "]";
    for (const FormProperty& property : value.collection[i].properties)
      ReadProperty(*item, item->LifeToken(), property, itemPath);
  }
}

// Sets the references in the order read. An object freed meanwhile (a component, or a
// collection item deleted by a later value) is skipped; the property is looked up
// again from it, so a dotted name reaches the sub-object it holds now.
void ResourceReader::ResolveReferences() {
  for (const Fixup& fixup : fixups_) {
    if (fixup.life.expired()) continue;
    Guarded(fixup.path, fixup.property, fixup.pos, [&] {
      const PropTarget target = Resolve(*fixup.object, fixup.property);
      if (target.prop != fixup.prop) return;  // an object of another class sits there now
      target.prop->setObject(*target.object, Referenced(fixup.reference, *target.prop));
    });
  }
}

// The component a reference names: "nil" for none; a component the root owns or the
// root itself; "A.B" for the component B that A owns, A found the same way.
TComponent* ResourceReader::Referenced(std::string_view reference, const PropInfo& prop) const {
  if (SameTextAscii(reference, "nil")) return nullptr;
  TComponent* found = nullptr;
  for (std::string_view rest = reference;;) {
    const std::size_t dot = rest.find('.');
    const std::string_view name = rest.substr(0, dot);
    found = found == nullptr ? FindTopLevel(name) : found->FindComponent(name);
    if (found == nullptr)
      throw EPropertyError("Component " + std::string(reference) + " not found");
    if (dot == std::string_view::npos) break;
    rest.remove_prefix(dot + 1);
  }
  if (!found->InheritsFrom(prop.propertyClass()))
    throw EPropertyError(std::string(reference) + " is a " + found->ClassName() + ", not a " +
                         prop.propertyClass().name());
  return found;
}

TComponent* ResourceReader::FindTopLevel(std::string_view name) const {
  if (TComponent* owned = root_.FindComponent(name)) return owned;
  if (!name.empty() && (SameTextAscii(name, root_.Name()) || SameTextAscii(name, topName_)))
    return &root_;
  return nullptr;
}

void ResourceReader::Abandon() {
  for (auto created = created_.rbegin(); created != created_.rend(); ++created)
    if (TComponent* component = created->get()) component->Free();
  for (const ComponentRef<TComponent>& component : loading_)
    if (component) component->SetLoading(false);
}

}  // namespace

void ReadComponentResource(TComponent& root, std::string_view text) {
  const FormObject top = ParseForm(text);
  if (!IsClassOrAncestor(root.classInfo(), top.className))
    throw EReadError(DisplayName(top), "",
                     "A " + top.className + " resource cannot be read into a " + root.ClassName(),
                     top.pos);
  ResourceReader(root).Read(top);
}

Owned<TComponent> CreateComponentFromResource(std::string_view text, TComponent* owner) {
  const FormObject top = ParseForm(text);
  const ClassInfo& info = ClassOf(top, DisplayName(top));
  Owned<TComponent> root;
  Guarded(DisplayName(top), "", top.pos, [&] { root.reset(info.Create(owner)); });
  ResourceReader(*root).Read(top);
  return root;
}

}  // namespace ox
