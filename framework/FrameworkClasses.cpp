#include "framework/FrameworkClasses.h"

#include <mutex>

#include "controls/ControlClasses.h"
#include "framework/OxForm.h"
#include "lang/LangClasses.h"
#include "lang/LanguageController.h"

namespace ox {

void RegisterFrameworkClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterControlClasses();
    RegisterLangClasses();
    for (const ClassInfo* info :
         {&TOxLangController::StaticClassInfo(), &TOxForm::StaticClassInfo()})
      RegisterClass(*info);
  });
}

}  // namespace ox
