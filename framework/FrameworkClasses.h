// The classes the plug-in's form resources name beyond the model's standard ones: the
// system's own controls, the converter and the language controller, the base forms.
#pragma once

namespace ox {

// Registers them once; later calls do nothing.
void RegisterFrameworkClasses();

}  // namespace ox
