// Event handlers as method pointers: a pair (Code, Data) where Data is the object the
// handler belongs to and Code says which of its methods to call. A pair can be copied,
// compared, stored as two parts under text keys, and called later with any sender,
// exactly like the framework's method pointers. A handler is assigned when its Code is
// not null.
//
// Code points to a MethodThunk: one static record per (class, method), made by
// MakeMethod<&TClass::Method>(object), that knows how to call the method on Data and
// which event signature it has. Calling a pair through an event of another signature
// is refused (EInvalidMethod), never undefined behaviour.
#pragma once

#include <cstdint>
#include <string>
#include <typeinfo>

#include "platform/Exceptions.h"

namespace ox {

class TObject;

// A method pointer: both null when unassigned.
struct TMethod {
  const void* Code = nullptr;
  void* Data = nullptr;
  bool operator==(const TMethod&) const = default;
};

inline bool Assigned(const TMethod& method) {
  return method.Code != nullptr;
}

// A handler called through an event whose signature differs from the handler's.
class EInvalidMethod : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EInvalidMethod"; }
};

// The record a method pointer's Code points to.
struct MethodThunkBase {
  const std::type_info* signature;  // typeid of void(Args...)
};

template <typename... Args>
struct MethodThunk : MethodThunkBase {
  void (*invoke)(void* data, Args... args);
};

namespace detail {

template <typename T>
struct MemberTraits;
template <typename C, typename... Args>
struct MemberTraits<void (C::*)(Args...)> {
  using Class = C;
  template <auto Member>
  static void Invoke(void* data, Args... args) {
    (static_cast<C*>(data)->*Member)(args...);
  }
  template <auto Member>
  static const MethodThunk<Args...>* Thunk() {
    static const MethodThunk<Args...> thunk{{&typeid(void(Args...))}, &Invoke<Member>};
    return &thunk;
  }
};

}  // namespace detail

// The method pointer of `Member` on `object`, e.g. MakeMethod<&TfrmX::btnOkClick>(form).
template <auto Member>
TMethod MakeMethod(typename detail::MemberTraits<decltype(Member)>::Class* object) {
  return {detail::MemberTraits<decltype(Member)>::template Thunk<Member>(), object};
}

// The signature a method pointer was made for; null for an unassigned one.
inline const std::type_info* MethodSignature(const TMethod& method) {
  return method.Code ? static_cast<const MethodThunkBase*>(method.Code)->signature : nullptr;
}

// An event property of a component: holds a method pointer of one signature.
template <typename... Args>
class Event {
 public:
  using Signature = void(Args...);

  Event() = default;
  Event(const TMethod& method) { Set(method); }  // NOLINT: assignment from a pair

  const TMethod& Method() const { return method_; }
  // Assigns a pair made for this signature (or an unassigned one); raises
  // EInvalidMethod for a pair of another signature.
  void Set(const TMethod& method) {
    if (method.Code && *MethodSignature(method) != typeid(Signature))
      throw EInvalidMethod("Invalid method signature for this event");
    method_ = method;
  }
  Event& operator=(const TMethod& method) {
    Set(method);
    return *this;
  }
  explicit operator bool() const { return method_.Code != nullptr; }

  // Calls the handler when one is assigned.
  void operator()(Args... args) const {
    if (method_.Code)
      static_cast<const MethodThunk<Args...>*>(method_.Code)->invoke(method_.Data, args...);
  }

 private:
  TMethod method_;
};

// The event types the forms use.
using TNotifyEvent = Event<TObject*>;

}  // namespace ox
