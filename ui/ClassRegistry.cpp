#include "ui/ClassRegistry.h"

#include "ui/Forms.h"

namespace ox {

void RegisterStandardClasses() {
  for (const ClassInfo* info : {&TForm::StaticClassInfo()})
    RegisterClass(*info);
}

}  // namespace ox
