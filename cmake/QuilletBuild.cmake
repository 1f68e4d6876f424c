# The project's build and test conventions, kept in one place.

# Every target the project compiles, from here down, gets the same strict
# flags: the program, its libraries, the browser module, the tests, the
# fuzz targets and the benchmarks. The texts are Japanese, so no string may
# cross between QString and bytes without an explicit encoding.
function(quillet_use_strict_flags)
  if(MSVC)
    add_compile_options(/W4 /permissive- /utf-8)
    if(QUILLET_WERROR)
      add_compile_options(/WX)
    endif()
  else()
    add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
    if(QUILLET_WERROR)
      add_compile_options(-Werror)
    endif()
  endif()
  add_compile_definitions(QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY
                          QT_NO_URL_CAST_FROM_STRING QT_USE_QSTRINGBUILDER)
endfunction()

# A test of the suite: the command, in a home folder of its own, so that no
# test leaves anything in the home of whoever runs the suite.
function(quillet_test name)
  add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/tests/support/in_private_home.sh ${ARGN})
endfunction()

# One Qt Test executable per area; it links the libraries under test and
# never compiles the program's sources again. It runs without a display,
# unless ON_DISPLAY: then quillet_add_display_run registers its runs.
function(quillet_add_test name)
  cmake_parse_arguments(ARG "ON_DISPLAY" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  if(NOT ARG_ON_DISPLAY)
    quillet_test(${name} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()

# A run of `executable` on a private X display, with the options of
# tests/support/on_display.sh that follow (a window manager, an input
# method).
function(quillet_add_display_run test_name executable)
  quillet_test(${test_name} ${PROJECT_SOURCE_DIR}/tests/support/on_display.sh ${ARGN}
               $<TARGET_FILE:${executable}>)
  set_tests_properties(${test_name} PROPERTIES LABELS display)
endfunction()
