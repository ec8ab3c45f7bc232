// Run-time type information: every class of the component model declares its
// published properties once, in a ClassInfo built lazily by a ClassBuilder close to the
// class. Properties are found by name (ignoring case) up the class chain and read and
// written as Variants, method pointers or objects. This one table serves the property
// utilities, form resources, condition schemes, language packages and the converter.
//
//   const ClassInfo& TEdit::StaticClassInfo() {
//     static const ClassInfo info = ClassBuilder<TEdit>("TEdit", &TCustomEdit::StaticClassInfo())
//         .creatable()
//         .property("Text", &TEdit::Text, &TEdit::SetText)
//         .event("OnChange", &TEdit::OnChange)
//         .build();
//     return info;
//   }
#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Variant.h"
#include "ui/Events.h"

namespace ox {

class ClassInfo;
class TComponent;

// Declares the class information of a class of the model (inside the class body).
#define OX_CLASS_INFO()                               \
  static const ::ox::ClassInfo& StaticClassInfo();    \
  const ::ox::ClassInfo& classInfo() const override { \
    return StaticClassInfo();                         \
  }

// The root of every class that has class information.
class TObject {
 public:
  virtual ~TObject() = default;
  static const ClassInfo& StaticClassInfo();
  virtual const ClassInfo& classInfo() const { return StaticClassInfo(); }
  const std::string& ClassName() const;
  bool InheritsFrom(const ClassInfo& info) const;
  template <typename T>
  bool Is() const {
    return InheritsFrom(T::StaticClassInfo());
  }
};

// A property of the wrong kind, a read-only property written, or a value that does not
// fit the property (an unknown enumeration name, a text that is no number).
class EPropertyError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EPropertyError"; }
};

enum class PropKind { Integer, Enumeration, Set, Boolean, Char, Float, String, Class, Method };

// Names for the values of an integer property (colours "clRed", cursors, character sets).
struct IdentMap {
  std::vector<std::pair<std::string, std::int64_t>> entries;
  std::optional<std::int64_t> ValueOf(std::string_view name) const;  // ignoring case
  std::optional<std::string> NameOf(std::int64_t value) const;
};

// One published property.
struct PropInfo {
  std::string name;
  PropKind kind = PropKind::Integer;
  // Enumeration: the names of the values 0, 1, ...; Set: the names of the bits.
  std::vector<std::string> names;
  const IdentMap* identMap = nullptr;             // Integer: optional names of values
  std::optional<std::int64_t> defaultValue;       // ordinal kinds: the value not stored
  const ClassInfo& (*propertyClass)() = nullptr;  // Class: the value's class
  const std::type_info* signature = nullptr;      // Method: the handler's signature

  // Value kinds: ordinals as integers, Float as double, String as narrow text.
  std::function<Variant(const TObject&)> get;
  std::function<void(TObject&, const Variant&)> set;  // null: read-only
  // Class kind.
  std::function<TObject*(const TObject&)> getObject;
  std::function<void(TObject&, TObject*)> setObject;  // null: only its properties
  // Method kind.
  std::function<TMethod(const TObject&)> getMethod;
  std::function<void(TObject&, const TMethod&)> setMethod;

  bool IsOrdinal() const {
    return kind == PropKind::Integer || kind == PropKind::Enumeration || kind == PropKind::Set ||
           kind == PropKind::Boolean || kind == PropKind::Char;
  }
};

// A published method of a form: a handler that form resources bind events to by name.
struct PublishedMethod {
  std::string name;
  TMethod (*make)(TObject* object);
};

class ClassInfo {
 public:
  const std::string& name() const { return name_; }
  const ClassInfo* parent() const { return parent_; }
  bool InheritsFrom(const ClassInfo& other) const;

  // The property of that name (ignoring case) declared here or by an ancestor.
  const PropInfo* FindProperty(std::string_view name) const;
  // Every property, the ancestors' first, each in declaration order; a property
  // redeclared by a descendant appears once, in its ancestor's place.
  std::vector<const PropInfo*> Properties() const;
  // The published method of that name, here or in an ancestor.
  const PublishedMethod* FindMethod(std::string_view name) const;
  // The name of the published method a pair calls (whatever its object); empty when none.
  std::string MethodName(const TMethod& method) const;

  // Whether components of the class can be created by name, and creating one.
  bool IsCreatable() const { return static_cast<bool>(create_); }
  TComponent* Create(TComponent* owner) const;

 private:
  template <typename T>
  friend class ClassBuilder;

  std::string name_;
  const ClassInfo* parent_ = nullptr;
  std::vector<std::unique_ptr<PropInfo>> properties_;
  std::unordered_map<std::string, const PropInfo*> byName_;  // upper-cased names
  std::vector<PublishedMethod> methods_;
  std::function<TComponent*(TComponent*)> create_;
};

// The class registry of form resources: classes are found by name (ignoring case).
void RegisterClass(const ClassInfo& info);
const ClassInfo* FindClass(std::string_view name);

// Reading and writing properties by name or by PropInfo; see the .cpp for the rules.
// Raises EPropertyError for a missing property or a value that does not fit.
Variant GetPropValue(const TObject& object, const PropInfo& prop, bool preferStrings = true);
void SetPropValue(TObject& object, const PropInfo& prop, const Variant& value);
// Enumeration and set texts: "alClient", "[fsBold,fsItalic]".
std::string SetToString(const PropInfo& prop, std::int64_t bits);
std::int64_t StringToSet(const PropInfo& prop, std::string_view text);

namespace detail {

template <typename Object, typename Getter>
using GetterResult = std::decay_t<std::invoke_result_t<Getter, const Object&>>;

template <typename V>
Variant ToVariant(const V& value) {
  if constexpr (std::is_enum_v<V>)
    return Variant(static_cast<std::int32_t>(value));
  else if constexpr (std::is_same_v<V, char>)
    return Variant(static_cast<std::int32_t>(static_cast<unsigned char>(value)));
  else
    return Variant(value);
}

template <typename V>
V FromVariant(const Variant& value) {
  if constexpr (std::is_same_v<V, bool>)
    return value.asBoolean();
  else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>)
    return static_cast<V>(value.asInt64());
  else if constexpr (std::is_floating_point_v<V>)
    return static_cast<V>(value.asDouble());
  else
    return V(value.asString());
}

template <typename V>
constexpr PropKind KindOf() {
  if constexpr (std::is_same_v<V, bool>)
    return PropKind::Boolean;
  else if constexpr (std::is_same_v<V, char>)
    return PropKind::Char;
  else if constexpr (std::is_enum_v<V>)
    return PropKind::Enumeration;
  else if constexpr (std::is_integral_v<V>)
    return PropKind::Integer;
  else if constexpr (std::is_floating_point_v<V>)
    return PropKind::Float;
  else
    return PropKind::String;
}

}  // namespace detail

// Builds the ClassInfo of T. Getters and setters are member functions or callables
// taking the object first.
template <typename T>
class ClassBuilder {
 public:
  ClassBuilder(std::string name, const ClassInfo* parent) {
    info_.name_ = std::move(name);
    info_.parent_ = parent;
  }

  // Components of T can be created by name: T(TComponent* owner).
  ClassBuilder& creatable() {
    info_.create_ = [](TComponent* owner) -> TComponent* { return new T(owner); };
    return *this;
  }

  // A value property; the kind follows from the getter's type (bool, char, integers,
  // enumerations, floating point, text). A null setter makes it read-only.
  template <typename Getter, typename Setter>
  ClassBuilder& property(std::string name, Getter getter, Setter setter) {
    using V = detail::GetterResult<T, Getter>;
    auto prop = std::make_unique<PropInfo>();
    prop->name = std::move(name);
    prop->kind = detail::KindOf<V>();
    prop->get = [getter](const TObject& o) {
      return detail::ToVariant<V>(std::invoke(getter, static_cast<const T&>(o)));
    };
    if constexpr (!std::is_same_v<Setter, std::nullptr_t>) {
      prop->set = [setter](TObject& o, const Variant& v) {
        std::invoke(setter, static_cast<T&>(o), detail::FromVariant<V>(v));
      };
    }
    return Add(std::move(prop));
  }
  // An enumeration whose values 0, 1, ... are named.
  template <typename Getter, typename Setter>
  ClassBuilder& enumeration(std::string name, Getter getter, Setter setter,
                            std::vector<std::string> names) {
    property(std::move(name), getter, setter);
    last_->kind = PropKind::Enumeration;
    last_->names = std::move(names);
    return *this;
  }
  // A set held as a bit mask; bit i is named names[i].
  template <typename Getter, typename Setter>
  ClassBuilder& set(std::string name, Getter getter, Setter setter,
                    std::vector<std::string> names) {
    property(std::move(name), getter, setter);
    last_->kind = PropKind::Set;
    last_->names = std::move(names);
    return *this;
  }
  // An integer property whose values may also be given by name.
  template <typename Getter, typename Setter>
  ClassBuilder& integer(std::string name, Getter getter, Setter setter, const IdentMap& map) {
    property(std::move(name), getter, setter);
    last_->kind = PropKind::Integer;
    last_->identMap = &map;
    return *this;
  }
  // A sub-object property (a font, a string list, a collection). Form resources set its
  // own properties; a setter, when given, assigns another object's value to it.
  template <typename Sub, typename Getter, typename Setter = std::nullptr_t>
  ClassBuilder& object(std::string name, Getter getter, Setter setter = nullptr) {
    auto prop = std::make_unique<PropInfo>();
    prop->name = std::move(name);
    prop->kind = PropKind::Class;
    // A function, not the information itself: classes that hold each other (a page
    // control and its pages) would otherwise build each other's information recursively.
    prop->propertyClass = &Sub::StaticClassInfo;
    prop->getObject = [getter](const TObject& o) -> TObject* {
      return std::invoke(getter, static_cast<const T&>(o));
    };
    if constexpr (!std::is_same_v<Setter, std::nullptr_t>) {
      prop->setObject = [setter](TObject& o, TObject* value) {
        std::invoke(setter, static_cast<T&>(o), dynamic_cast<Sub*>(value));
      };
    }
    return Add(std::move(prop));
  }
  // An event property held in a member Event<...>.
  template <typename... Args>
  ClassBuilder& event(std::string name, Event<Args...> T::*member) {
    auto prop = std::make_unique<PropInfo>();
    prop->name = std::move(name);
    prop->kind = PropKind::Method;
    prop->signature = &typeid(void(Args...));
    prop->getMethod = [member](const TObject& o) {
      return (static_cast<const T&>(o).*member).Method();
    };
    prop->setMethod = [member](TObject& o, const TMethod& m) {
      (static_cast<T&>(o).*member).Set(m);
    };
    return Add(std::move(prop));
  }
  // The ordinal value the property has after construction (form writers skip it).
  ClassBuilder& defaultValue(std::int64_t value) {
    last_->defaultValue = value;
    return *this;
  }
  // A published handler that form resources can bind events to by name.
  template <auto Member>
  ClassBuilder& handler(std::string name) {
    info_.methods_.push_back({std::move(name), [](TObject* object) {
                                using Traits = detail::MemberTraits<decltype(Member)>;
                                return MakeMethod<Member>(
                                    static_cast<typename Traits::Class*>(object));
                              }});
    return *this;
  }

  ClassInfo build() { return std::move(info_); }

 private:
  ClassBuilder& Add(std::unique_ptr<PropInfo> prop);

  ClassInfo info_;
  PropInfo* last_ = nullptr;
};

std::string UpperPropertyName(std::string_view name);

template <typename T>
ClassBuilder<T>& ClassBuilder<T>::Add(std::unique_ptr<PropInfo> prop) {
  last_ = prop.get();
  info_.byName_[UpperPropertyName(prop->name)] = prop.get();
  info_.properties_.push_back(std::move(prop));
  return *this;
}

}  // namespace ox
