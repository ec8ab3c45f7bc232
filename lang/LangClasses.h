// The classes of the language layer that form resources can name: a program registers
// them once, next to the model's standard classes, before it reads forms that use them.
#pragma once

namespace ox {

// Registers TCodeConverter; calling it again does no harm.
void RegisterLangClasses();

}  // namespace ox
