// The library the loading tests open: a plain export and an automation class factory.
#include <string>

#include "platform/OleAuto.h"

extern "C" {
int OxTestAdd(int a, int b);
ox::DispatchObject* OxTestCreate(const char* progId);
}

namespace {

// Remembers the identifier it was made for and adds numbers.
class Adder : public ox::AutoObject {
 public:
  explicit Adder(std::string progId) {
    AddProperty("ProgId", [progId] { return ox::Variant(progId); });
    AddMethod("Add", 2, [](std::span<ox::Variant> args) {
      return ox::Variant(OxTestAdd(args[0].asInteger(), args[1].asInteger()));
    });
  }
};

}  // namespace

int OxTestAdd(int a, int b) {
  return a + b;
}

// Makes no object for "OxTest.Refused", as a factory that does not serve a class.
ox::DispatchObject* OxTestCreate(const char* progId) {
  const std::string id(progId);
  return id == "OxTest.Refused" ? nullptr : new Adder(id);
}
