# Wayland protocol bindings, generated at build time by wayland-scanner from
# the protocol files the system ships (or a copy kept beside the sources).
#
#   pelliwig_wayland_protocols(target xml ...)   adds each protocol's client
#   header and glue code to target; the header is included as
#   "<protocol file name>-client-protocol.h".
enable_language(C)
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
find_package(PlasmaWaylandProtocols REQUIRED)

function(pelliwig_wayland_protocols target)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/wayland-protocols")
  file(MAKE_DIRECTORY "${out}")
  foreach(xml IN LISTS ARGN)
    get_filename_component(name "${xml}" NAME_WE)
    set(header "${out}/${name}-client-protocol.h")
    set(code "${out}/${name}-protocol.c")
    add_custom_command(OUTPUT "${header}"
      COMMAND ${WAYLAND_SCANNER} client-header "${xml}" "${header}"
      DEPENDS "${xml}" VERBATIM)
    add_custom_command(OUTPUT "${code}"
      COMMAND ${WAYLAND_SCANNER} private-code "${xml}" "${code}"
      DEPENDS "${xml}" VERBATIM)
    target_sources(${target} PRIVATE "${header}" "${code}")
  endforeach()
  # Generated code is not ours to keep free of warnings.
  target_include_directories(${target} SYSTEM PUBLIC "${out}")
  target_link_libraries(${target} PUBLIC PkgConfig::WAYLAND_CLIENT)
endfunction()
