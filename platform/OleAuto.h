// Late-bound objects, the stand-in of COM automation. An object answers calls by name
// (DispatchObject::Invoke); callers reach it through a Variant with OleCall,
// OlePropertyGet and OlePropertySet, and create it by programmatic identifier with
// CreateOleObject. Member names and identifiers ignore ASCII letter case.
//
// Classes come from two places, asked in this order:
// - in-process registrations (RegisterOleClass), for components built into a program;
// - the registry file: the key HKEY_CLASSES_ROOT\<progId>\InprocServer32 names the
//   library in its default value (a Windows library name, mapped as LoadLibrary maps
//   it) and the factory in its value "Factory", for example
//     [HKEY_CLASSES_ROOT\QueueManagerC.Class1\InprocServer32]
//     @="QueueManagerC.dll"
//     "Factory"="CreateQueueManager"
//   The factory is an exported function of this exact signature:
//     extern "C" ox::DispatchObject* CreateQueueManager(const char* progId);
//   It answers an object made with `new` (the caller owns it and deletes it through
//   its virtual destructor, so the library's own code frees it) or null when it cannot
//   make one, and lets no exception escape. No C++ class crosses the boundary by value,
//   so this is safe for every library built with the same compiler against the same
//   ox_platform, which every library of the system links. A library loaded for a
//   factory stays loaded for the life of the process, as its objects may live that long.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "platform/Variant.h"

namespace ox {

// Result codes of the automation failures raised here (EOleSysError::ErrorCode).
inline constexpr std::int32_t CO_E_CLASSSTRING = static_cast<std::int32_t>(0x800401F3);
inline constexpr std::int32_t CO_E_ERRORINDLL = static_cast<std::int32_t>(0x800401F9);
inline constexpr std::int32_t CLASS_E_CLASSNOTAVAILABLE = static_cast<std::int32_t>(0x80040111);
inline constexpr std::int32_t DISP_E_MEMBERNOTFOUND = static_cast<std::int32_t>(0x80020003);
inline constexpr std::int32_t DISP_E_BADPARAMCOUNT = static_cast<std::int32_t>(0x8002000E);
// HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND).
inline constexpr std::int32_t E_MOD_NOT_FOUND = static_cast<std::int32_t>(0x8007007E);

enum class InvokeKind { Method, PropertyGet, PropertyPut };

// An object that answers calls by name.
class DispatchObject {
 public:
  virtual ~DispatchObject() = default;
  // Calls a method, reads a property or writes one. The arguments come in call order;
  // for PropertyPut the last one is the new value. The callee may change the
  // arguments: that is how by-reference arguments come back to the caller.
  virtual Variant Invoke(std::string_view name, InvokeKind kind, std::span<Variant> args) = 0;
};

// A DispatchObject whose members are registered by name in its constructor.
// Method and PropertyGet are answered alike, as automation callers use either for a
// parameterless function or a property read. An unknown name raises EOleError
// "Method '%s' not supported by automation object"; a wrong number of arguments
// DISP_E_BADPARAMCOUNT; writing a method or a read-only property DISP_E_MEMBERNOTFOUND.
class AutoObject : public DispatchObject {
 public:
  Variant Invoke(std::string_view name, InvokeKind kind, std::span<Variant> args) override;

 protected:
  using Method = std::function<Variant(std::span<Variant> args)>;
  using Getter = std::function<Variant()>;
  using Setter = std::function<void(const Variant& value)>;

  // A method taking exactly argCount arguments; a later registration of the same
  // name replaces the earlier one.
  void AddMethod(std::string_view name, std::size_t argCount, Method method);
  // A property; without a setter it is read-only.
  void AddProperty(std::string_view name, Getter get, Setter set = nullptr);

 private:
  struct MethodEntry {
    std::size_t argCount;
    Method call;
  };
  struct PropertyEntry {
    Getter get;
    Setter set;
  };
  using Member = std::variant<MethodEntry, PropertyEntry>;

  static Variant Call(const Member& member, std::string_view name, InvokeKind kind,
                      std::span<Variant> args);

  std::map<std::string, Member> members_;  // by upper-cased name
};

// One argument of OleCall: a value, or a variable passed by reference (ByRef) that
// receives what the callee left in the argument.
class OleArg {
 public:
  template <typename T>
  requires std::constructible_from<Variant, T&&> OleArg(T&& value)
      : value_(std::forward<T>(value)) {}

 private:
  friend OleArg ByRef(Variant& variable);
  friend Variant OleCall(const Variant& object, std::string_view method,
                         std::initializer_list<OleArg> args);

  Variant value_;
  Variant* variable_ = nullptr;
};

// Passes the variable by reference: its value goes in and the callee's result comes
// back into it when the call returns.
OleArg ByRef(Variant& variable);

// Calls a method of the object the Variant holds. On Empty or Null nothing is called
// and the answer is Empty; any other non-object raises EVariantTypeCastError.
Variant OleCall(const Variant& object, std::string_view method,
                std::initializer_list<OleArg> args = {});
// Reads and writes a property, with the same rule for Empty and Null.
Variant OlePropertyGet(const Variant& object, std::string_view name);
void OlePropertySet(const Variant& object, std::string_view name, const Variant& value);

// The factory of an in-process class.
using OleFactory = std::function<DispatchPtr()>;
// The exported factory of a library class (see the top of this file).
using OleLibraryFactory = DispatchObject* (*)(const char* progId);

// Registers an in-process class, replacing an earlier registration of the identifier.
void RegisterOleClass(std::string_view progId, OleFactory factory);
void UnregisterOleClass(std::string_view progId);

// Creates an object of the class. An identifier found in neither place raises
// EOleSysError "Invalid class string" (CO_E_CLASSSTRING); a library that does not load
// E_MOD_NOT_FOUND, a factory it does not export CO_E_ERRORINDLL, a factory that makes
// no object (in-process or library) CLASS_E_CLASSNOTAVAILABLE.
Variant CreateOleObject(std::string_view progId);

}  // namespace ox
