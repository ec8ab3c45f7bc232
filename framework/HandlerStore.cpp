#include "framework/HandlerStore.h"

#include <string>

namespace ox {
namespace {

std::string Key(std::string_view control, std::string_view event, std::string_view part) {
  std::string key(control);
  key.append(".").append(event).append(".").append(part);
  return key;
}

}  // namespace

void HandlerStore::Save(std::string_view control, std::string_view event, const TMethod& handler) {
  Keep(Key(control, event, "Code"), handler.Code);
  Keep(Key(control, event, "Data"), handler.Data);
}

TMethod HandlerStore::Saved(std::string_view control, std::string_view event) const {
  // The store hands back the very pointers it was given: Data was a writable object.
  return {Find(Key(control, event, "Code")), const_cast<void*>(Find(Key(control, event, "Data")))};
}

void HandlerStore::Keep(std::string key, const void* part) {
  // A string list holds objects; the parts are kept in that slot as plain addresses.
  if (part != nullptr)
    lines_.AddObject(std::move(key), static_cast<TObject*>(const_cast<void*>(part)));
}

const void* HandlerStore::Find(std::string_view key) const {
  const int index = lines_.IndexOf(key);
  return index < 0 ? nullptr : lines_.Objects(index);
}

}  // namespace ox
