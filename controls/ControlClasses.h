// The system's own controls that form resources can name. A program (the plug-in, a
// test host) registers them once, next to the model's standard classes, before it reads
// forms that use them.
#pragma once

namespace ox {

// Registers every creatable control of this library; calling it again does no harm.
void RegisterControlClasses();

}  // namespace ox
