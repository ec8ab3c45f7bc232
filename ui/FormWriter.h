// Writes components back in the notation of form resources (see ui/FormParser.h), so
// that reading the text gives the same published values again.
#pragma once

#include <string>

#include "ui/Classes.h"

namespace ox {

// The root and the components it owns, each with its published properties that differ
// from their defaults: ordinals other than the declared default, non-empty strings,
// non-zero floats, non-empty string lists and collections, the sub-objects' properties
// as dotted names, events bound to the root's published handlers, and references to
// the root or a component it owns as that component's name. Components nest
// under their GetParentComponent() when that is another component of the root, else
// directly under the root. Strings are written as UTF-8 with #NNN for control
// characters; a text that is no GB text is written as binary data.
std::string WriteComponentResource(const TComponent& root);

}  // namespace ox
