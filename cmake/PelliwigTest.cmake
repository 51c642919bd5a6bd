# The one way tests are added. Every test process gets its own empty
# XDG_CONFIG_HOME and a fixed zone and locale, so no test can touch the real
# home folder or depend on the machine it runs on.
#
#   pelliwig_add_test(NAME name SOURCES a.cpp ... LIBS lib ... [TZ zone] [LANG locale] [LABEL label]
#                     [ENV VAR=value ...] [QT])   QT runs moc on the test
function(pelliwig_add_test)
  cmake_parse_arguments(T "QT" "NAME;TZ;LANG;LABEL" "SOURCES;LIBS;ENV" ${ARGN})
  if(NOT T_TZ)
    set(T_TZ "Europe/Berlin")
  endif()
  if(NOT T_LANG)
    set(T_LANG "en_US.UTF-8")
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_QT)
    set_target_properties(${T_NAME} PROPERTIES AUTOMOC ON)
  endif()
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  set(home "${CMAKE_CURRENT_BINARY_DIR}/home/${T_NAME}")
  file(MAKE_DIRECTORY "${home}/config")
  # The environment is set by running each test through env(1): gtest's
  # discovery script splits an ENVIRONMENT list, keeping only its first entry.
  set_target_properties(${T_NAME} PROPERTIES CROSSCOMPILING_EMULATOR
    "env;XDG_CONFIG_HOME=${home}/config;HOME=${home};TZ=${T_TZ};LANG=${T_LANG};LC_ALL=${T_LANG};${T_ENV}")
  gtest_discover_tests(${T_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${T_LABEL}")
endfunction()

# One test program per *Test.cpp file of a folder, linked to the given libraries.
function(pelliwig_add_tests_in dir)
  cmake_parse_arguments(T "QT" "LABEL" "LIBS;ENV" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*Test.cpp")
  foreach(source IN LISTS sources)
    get_filename_component(name "${source}" NAME_WE)
    set(qt "")
    if(T_QT)
      set(qt QT)
    endif()
    pelliwig_add_test(NAME ${name} SOURCES ${source} LIBS ${T_LIBS} LABEL "${T_LABEL}" ENV ${T_ENV} ${qt})
  endforeach()
endfunction()
