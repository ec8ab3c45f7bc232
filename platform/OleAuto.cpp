#include "platform/OleAuto.h"

#include <fmt/format.h>

#include <mutex>
#include <optional>
#include <vector>

#include "platform/AsciiText.h"
#include "platform/Exceptions.h"
#include "platform/Library.h"
#include "platform/Registry.h"

namespace ox {

namespace {

[[noreturn]] void BadParamCount() {
  throw EOleSysError("Invalid number of parameters", DISP_E_BADPARAMCOUNT);
}

// Sends the call to the object the Variant holds; Empty and Null hold none.
Variant Dispatch(const Variant& object, std::string_view name, InvokeKind kind,
                 std::span<Variant> args) {
  const DispatchPtr target = object.isNull() ? nullptr : object.asObject();
  return target ? target->Invoke(name, kind, args) : Variant();
}

class ClassTable {
 public:
  void Set(std::string_view progId, OleFactory factory) {
    const std::lock_guard lock(mutex_);
    factories_[UpperAscii(progId)] = std::move(factory);
  }
  void Remove(std::string_view progId) {
    const std::lock_guard lock(mutex_);
    factories_.erase(UpperAscii(progId));
  }
  std::optional<OleFactory> Find(std::string_view progId) const {
    const std::lock_guard lock(mutex_);
    const auto found = factories_.find(UpperAscii(progId));
    if (found == factories_.end()) return std::nullopt;
    return found->second;
  }

 private:
  mutable std::mutex mutex_;
  std::map<std::string, OleFactory> factories_;
};

ClassTable& InProcessClasses() {
  static ClassTable table;
  return table;
}

// The library class of the registry file. The identifier becomes part of a key path,
// so one holding a "\" (which would reach another key) names no class.
DispatchPtr CreateLibraryObject(const std::string& progId) {
  TRegistry registry(HKEY_CLASSES_ROOT);
  if (progId.empty() || progId.find('\\') != std::string::npos ||
      !registry.OpenKeyReadOnly(progId + "\\InprocServer32"))
    throw EOleSysError("Invalid class string", CO_E_CLASSSTRING);
  const std::string library = registry.ReadString("");
  const std::string factoryName = registry.ReadString("Factory");
  // Never freed: the objects it makes may live as long as the process.
  const HMODULE module = LoadLibrary(library);
  if (module == nullptr)
    throw EOleSysError(fmt::format("Cannot load library \"{}\" of class {}: {}", library, progId,
                                   LastLibraryError()),
                       E_MOD_NOT_FOUND);
  const auto factory = reinterpret_cast<OleLibraryFactory>(
      factoryName.empty() ? nullptr : GetProcAddress(module, factoryName));
  if (factory == nullptr)
    throw EOleSysError(fmt::format("Factory \"{}\" of class {} not found in library \"{}\"",
                                   factoryName, progId, library),
                       CO_E_ERRORINDLL);
  return DispatchPtr(factory(progId.c_str()));
}

}  // namespace

Variant AutoObject::Invoke(std::string_view name, InvokeKind kind, std::span<Variant> args) {
  const auto found = members_.find(UpperAscii(name));
  if (found == members_.end())
    throw EOleError(fmt::format("Method '{}' not supported by automation object", name));
  return Call(found->second, name, kind, args);
}

Variant AutoObject::Call(const Member& member, std::string_view name, InvokeKind kind,
                         std::span<Variant> args) {
  if (const auto* method = std::get_if<MethodEntry>(&member)) {
    if (kind == InvokeKind::PropertyPut)
      throw EOleSysError(fmt::format("Member not found: {}", name), DISP_E_MEMBERNOTFOUND);
    if (args.size() != method->argCount) BadParamCount();
    return method->call(args);
  }
  const auto& property = std::get<PropertyEntry>(member);
  if (kind != InvokeKind::PropertyPut) {
    if (!args.empty()) BadParamCount();
    return property.get();
  }
  if (!property.set)
    throw EOleSysError(fmt::format("Member not found: {}", name), DISP_E_MEMBERNOTFOUND);
  if (args.size() != 1) BadParamCount();
  property.set(args.front());
  return {};
}

void AutoObject::AddMethod(std::string_view name, std::size_t argCount, Method method) {
  members_.insert_or_assign(UpperAscii(name), MethodEntry{argCount, std::move(method)});
}

void AutoObject::AddProperty(std::string_view name, Getter get, Setter set) {
  members_.insert_or_assign(UpperAscii(name), PropertyEntry{std::move(get), std::move(set)});
}

OleArg ByRef(Variant& variable) {
  OleArg arg(variable);
  arg.variable_ = &variable;
  return arg;
}

Variant OleCall(const Variant& object, std::string_view method,
                std::initializer_list<OleArg> args) {
  std::vector<Variant> values;
  values.reserve(args.size());
  for (const OleArg& arg : args)
    values.push_back(arg.value_);
  Variant result = Dispatch(object, method, InvokeKind::Method, values);
  std::size_t i = 0;
  for (const OleArg& arg : args) {
    if (arg.variable_ != nullptr) *arg.variable_ = std::move(values[i]);
    ++i;
  }
  return result;
}

Variant OlePropertyGet(const Variant& object, std::string_view name) {
  return Dispatch(object, name, InvokeKind::PropertyGet, {});
}

void OlePropertySet(const Variant& object, std::string_view name, const Variant& value) {
  Variant args[] = {value};
  Dispatch(object, name, InvokeKind::PropertyPut, args);
}

void RegisterOleClass(std::string_view progId, OleFactory factory) {
  InProcessClasses().Set(progId, std::move(factory));
}

void UnregisterOleClass(std::string_view progId) {
  InProcessClasses().Remove(progId);
}

Variant CreateOleObject(std::string_view progId) {
  const auto factory = InProcessClasses().Find(progId);
  DispatchPtr object = factory ? (*factory)() : CreateLibraryObject(std::string(progId));
  if (!object)
    throw EOleSysError(fmt::format("Class {} made no object", progId), CLASS_E_CLASSNOTAVAILABLE);
  return Variant(std::move(object));
}

}  // namespace ox
