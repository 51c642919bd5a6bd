# The warnings every target of the project is built with, in one place.
# `-DPELLIWIG_WERROR=ON` (the Makefile's builds, and so CI) turns them into
# errors, so a new warning stops the build instead of scrolling past.
option(PELLIWIG_WERROR "Treat compiler warnings as errors" OFF)
add_library(pelliwig_warnings INTERFACE)
target_compile_options(pelliwig_warnings INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Woverloaded-virtual -Wcast-qual -Wmissing-declarations -Wundef>)
if(PELLIWIG_WERROR)
  target_compile_options(pelliwig_warnings INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-Werror>)
endif()
