#include "lang/LangClasses.h"

#include "lang/CodeConverter.h"

namespace ox {

void RegisterLangClasses() {
  RegisterClass(TCodeConverter::StaticClassInfo());
}

}  // namespace ox
