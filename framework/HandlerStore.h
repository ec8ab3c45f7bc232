// HandlerStore: the handlers the option form replaced on its controls, kept so that the
// form can call them after its own checks and put them back when it unhooks. A handler
// is kept as string-list items keyed by the control's name and the event:
// "<control>.<event>.Code" holding the handler's code and "<control>.<event>.Data"
// holding its object, each only when that part is not null. The first item with a key
// wins, so saving again never replaces a handler saved earlier.
#pragma once

#include <string_view>

#include "ui/Classes.h"
#include "ui/Events.h"

namespace ox {

class HandlerStore {
 public:
  // Keeps `handler`, replaced on the event `event` ("OnClick", "OnEnter", "OnExit") of
  // the control named `control`.
  void Save(std::string_view control, std::string_view event, const TMethod& handler);
  // The handler saved first for the control's event; both parts null when none was.
  TMethod Saved(std::string_view control, std::string_view event) const;
  void Clear() { lines_.Clear(); }
  // The items: keys with the parts as their objects. The objects are addresses only and
  // are never used as objects.
  const TStringList& Lines() const { return lines_; }

 private:
  void Keep(std::string key, const void* part);
  const void* Find(std::string_view key) const;

  TStringList lines_;
};

}  // namespace ox
