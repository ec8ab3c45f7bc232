#include "ui/ClassRegistry.h"

#include "ui/Classes.h"

namespace ox {

void RegisterStandardClasses() {
  for (const ClassInfo* info : {&TComponent::StaticClassInfo()})
    RegisterClass(*info);
}

}  // namespace ox
