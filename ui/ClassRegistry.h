// The classes form resources can name. Registration is explicit, not by static
// initialisers, because the model is linked as a static library and unreferenced
// initialisers would be dropped.
#pragma once

namespace ox {

// Registers every creatable class of the model once; FindClass calls it first.
void RegisterStandardClasses();

}  // namespace ox
