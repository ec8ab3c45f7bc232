# Warnings every target of the system is built with.
add_library(ox_warnings INTERFACE)
target_compile_options(ox_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wimplicit-fallthrough -Wmissing-declarations
  $<$<BOOL:${OX_WERROR}>:-Werror>)
