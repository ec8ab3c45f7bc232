// Reads form resources (see ui/FormParser.h) into live components through the class
// information of the model:
// - children are created by registered class name with the root as owner, named, and
//   given the enclosing object by SetParentComponent; "inherited" names a component
//   the root already owns (from an ancestor's resource), which is reused when present
//   (else created); "inline" reads like "object";
// - properties are found by name up the class chain; dotted names (Font.Name) go
//   through sub-objects; "X.Strings = ( ... )" fills the string list X; "X = < ... >"
//   fills the collection X with new items;
// - events bind to the root's published handlers by name;
// - an identifier given to a component-valued property with a setter names a
//   component: one the root owns, or the root itself, or "A.B" for B owned by A, or
//   "nil" for none. References are set after every component of the resource exists
//   (forward references are the rule: ActiveControl names a control written later),
//   just before Loaded; an unknown name is an EReadError at the value's position;
//   references read for a component or collection item freed meanwhile are dropped;
// - strings become the system's narrow texts (GB), binary data goes to text
//   properties as it is.
// The root and every component read are marked loading during the read and get
// Loaded() at its end, in creation order (the root first).
#pragma once

#include <string>
#include <string_view>

#include "ui/Classes.h"
#include "ui/FormParser.h"

namespace ox {

// A resource that does not fit the model: an unknown class, property or handler, or a
// value the property does not take. Says which object (its path of names from the
// root), which property (empty for the object itself) and where in the text.
class EReadError : public Exception {
 public:
  EReadError(std::string path, std::string property, const std::string& reason, SourcePos pos);
  const std::string& Path() const noexcept { return path_; }
  const std::string& Property() const noexcept { return property_; }
  int Line() const noexcept { return pos_.line; }
  int Column() const noexcept { return pos_.column; }
  const char* ClassName() const noexcept override { return "EReadError"; }

 private:
  std::string path_;
  std::string property_;
  SourcePos pos_;
};

// Reads a resource whose top object's class is the root's class or an ancestor's into
// the root (the form). The root takes the top object's name when it has none. On
// failure (EParserError, EReadError) the components created by the read are freed;
// properties already set stay set.
void ReadComponentResource(TComponent& root, std::string_view text);

// Creates the top object by its registered class name, owned by `owner` (may be null),
// and reads the resource into it. The caller holds the result; with an owner, release()
// it when the owner is to free it. Nothing is left behind on failure.
Owned<TComponent> CreateComponentFromResource(std::string_view text, TComponent* owner);

}  // namespace ox
