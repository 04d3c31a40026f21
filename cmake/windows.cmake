# Tallorix.vlf, the stand-in host and the tests that run them under Wine.

# Texts the module shows are code page 932 in the binary.
set(CP932 -fexec-charset=CP932)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

# The version is written once, in VERSION (MAJOR.MINOR.PATCH); the version
# resource takes it, and the copyright line of LICENSE.txt, from version.h.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/VERSION ${CMAKE_SOURCE_DIR}/LICENSE.txt)
file(STRINGS ${CMAKE_SOURCE_DIR}/VERSION TALLORIX_VERSION LIMIT_COUNT 1)
if(NOT TALLORIX_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "VERSION holds '${TALLORIX_VERSION}', not MAJOR.MINOR.PATCH")
endif()
set(TALLORIX_VERSION_NUMBERS "${CMAKE_MATCH_1},${CMAKE_MATCH_2},${CMAKE_MATCH_3},0")
file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE.txt TALLORIX_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
configure_file(res/version.h.in ${CMAKE_CURRENT_BINARY_DIR}/version.h @ONLY)

# The dialog templates and the version resource. windres is run directly:
# the compile options of the C++ sources are not for it.
set(TALLORIX_RESOURCES ${CMAKE_CURRENT_BINARY_DIR}/Tallorix.rc.o)
add_custom_command(OUTPUT ${TALLORIX_RESOURCES}
  COMMAND ${CMAKE_RC_COMPILER} -O coff -I ${CMAKE_SOURCE_DIR}/res -I ${CMAKE_CURRENT_BINARY_DIR}
          ${CMAKE_SOURCE_DIR}/res/Tallorix.rc ${TALLORIX_RESOURCES}
  DEPENDS res/Tallorix.rc res/resource.h ${CMAKE_CURRENT_BINARY_DIR}/version.h
  VERBATIM)
set_source_files_properties(${TALLORIX_RESOURCES} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)

set(MODULE_SOURCES
  ${ENGINE_SOURCES}
  engine/platform_win.cpp
  filter/command.cpp
  filter/exports.cpp
  filter/options.cpp
  filter/settings.cpp
  ui/browse.cpp
  ui/help_dialog.cpp
  ui/options_dialog.cpp
  ${TALLORIX_RESOURCES}
  filter/Tallorix.def)

# add_module(TARGET NAME SOURCES...): a module NAME.vlf of the module's
# sources and any more.
function(add_module target name)
  add_library(${target} SHARED ${MODULE_SOURCES} ${ARGN})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${name} SUFFIX .vlf)
  target_compile_options(${target} PRIVATE ${CP932})
  target_link_options(${target} PRIVATE ${STATIC_RUNTIME})
  # No link time in the headers: the same sources give the same module,
  # and the release archive the same bytes.
  target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp)
  target_link_libraries(${target} PRIVATE user32 advapi32 comdlg32 kernel32)
endfunction()

add_module(tallorix Tallorix)
# The test-only module, TallorixFaults.vlf: the same sources with the test
# hooks, whose allocations fail on request. Never shipped.
add_module(tallorix_faults TallorixFaults tests/wine/fault_module.cpp)
target_compile_definitions(tallorix_faults PRIVATE TALLORIX_TEST_HOOKS)
target_include_directories(tallorix_faults PRIVATE ${CMAKE_SOURCE_DIR})

add_executable(vlfhost host/vlfhost.cpp host/module.cpp host/msgbox.cpp host/paths.cpp host/registry.cpp host/report.cpp host/textio.cpp host/utf8.cpp)
target_compile_options(vlfhost PRIVATE -municode)
target_link_options(vlfhost PRIVATE -municode ${STATIC_RUNTIME})
target_link_libraries(vlfhost PRIVATE user32 advapi32 kernel32)

# x86 or x64: which module this build makes, and which of Wine's loaders
# runs it (tools/wine-arch.sh).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(MODULE_ARCH x64)
else()
  set(MODULE_ARCH x86)
endif()

# Every Wine suite runs through wine-test, which skips it (exit 77) with the
# reason where this machine cannot run the module.
set(WINE_TEST ${CMAKE_SOURCE_DIR}/tools/wine-test ${MODULE_ARCH})
set(WINE_RUN ${CMAKE_SOURCE_DIR}/tools/wine-run)

# add_wine_suite(NAME COMMAND...): a test under Wine, named NAME_x86 or
# NAME_x64. The suites share the project's Wine prefix, so they run one at
# a time.
function(add_wine_suite name)
  add_test(NAME ${name}_${MODULE_ARCH} COMMAND ${WINE_TEST} ${ARGN})
  set_tests_properties(${name}_${MODULE_ARCH} PROPERTIES
    RESOURCE_LOCK wineprefix TIMEOUT 300 SKIP_RETURN_CODE 77)
endfunction()

# A test program for Wine; its narrow literals are the code page 932 texts
# the module shows.
function(add_wine_program target source)
  add_executable(${target} ${source})
  # The reference rules and procedure of tests/reference.
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${target} PRIVATE ${CP932})
  target_link_options(${target} PRIVATE ${STATIC_RUNTIME})
  target_link_libraries(${target} PRIVATE user32 advapi32 kernel32)
endfunction()

# A test program that drives the real module under Wine, given its path
# and any further arguments.
function(add_wine_test target test source)
  add_wine_program(${target} ${source})
  add_wine_suite(${test} ${WINE_RUN} $<TARGET_FILE:${target}> $<TARGET_FILE:tallorix> ${ARGN})
endfunction()

add_wine_test(filter_tests wine_filter tests/wine/filter_tests.cpp)
# The dialogs in real windows; test-wine gives them an X display.
add_wine_test(dialog_tests wine_dialogs tests/wine/dialog_tests.cpp)
# Bad input: settings, order files and texts at and beyond their limits.
add_wine_test(bad_input_tests wine_bad_input tests/wine/bad_input_tests.cpp)
# Each allocation of a command failed in turn, in the test-only module.
add_wine_program(fault_tests tests/wine/fault_tests.cpp)
add_wine_suite(wine_faults ${WINE_RUN} $<TARGET_FILE:fault_tests> $<TARGET_FILE:tallorix_faults>)
# The version resource, read through version.dll as the file's properties
# read it; only this test program imports version.dll, never the module.
add_wine_test(version_tests wine_version tests/wine/version_tests.cpp)
target_link_libraries(version_tests PRIVATE version)
target_compile_definitions(version_tests PRIVATE EXPECTED_VERSION="${TALLORIX_VERSION}")
# The order files of data/, loaded and used by the real module.
add_wine_test(order_data_tests wine_order_data tests/wine/order_data_tests.cpp ${CMAKE_SOURCE_DIR}/data)

# The table of code page 932 that the native build compiles in, written
# once under Wine (tools/cp932_table.cpp says how), and its Wine test: the
# table against the live conversion, every unit and strings with surrogates.
add_executable(cp932_table tools/cp932_table.cpp)
target_link_options(cp932_table PRIVATE ${STATIC_RUNTIME})
add_executable(cp932_table_tests tests/wine/cp932_table_tests.cpp)
target_include_directories(cp932_table_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(cp932_table_tests PRIVATE ${STATIC_RUNTIME})
add_wine_suite(wine_cp932_table ${WINE_RUN} $<TARGET_FILE:cp932_table_tests>)

# Pictures of the dialogs for docs/ (make screenshots); not built by default.
add_executable(screenshots EXCLUDE_FROM_ALL tools/screenshots/screenshots.cpp)
target_link_options(screenshots PRIVATE ${STATIC_RUNTIME})
target_link_libraries(screenshots PRIVATE user32 gdi32 advapi32 kernel32)

add_wine_suite(vlfhost_cli bash ${CMAKE_SOURCE_DIR}/tests/cli/vlfhost_test.sh $<TARGET_FILE:tallorix>)
add_wine_suite(order_file_cli bash ${CMAKE_SOURCE_DIR}/tests/cli/order_file_test.sh $<TARGET_FILE:tallorix>)
# The module's headers, exports and imports; no Wine, so it runs everywhere.
add_test(NAME module_imports_${MODULE_ARCH}
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/cli/imports_test.sh $<TARGET_FILE:tallorix> ${MODULE_ARCH})

# A crash ends the program at once, as tools/wine-run sets the prefix:
# crash_test crashes on purpose in several ways, and the suite fails at its
# short timeout should any wait for a debugger. wine_prefix makes or brings
# up to date the prefix before, which can take about as long.
add_executable(crash_test tests/wine/crash_test.cpp)
target_link_options(crash_test PRIVATE ${STATIC_RUNTIME})
target_link_libraries(crash_test PRIVATE user32 kernel32)
add_wine_suite(wine_prefix ${WINE_RUN} $<TARGET_FILE:crash_test> exit)
add_wine_suite(wine_crash bash ${CMAKE_SOURCE_DIR}/tests/cli/crash_test.sh $<TARGET_FILE:crash_test>)
set_tests_properties(wine_prefix_${MODULE_ARCH} PROPERTIES FIXTURES_SETUP wine_prefix_made)
set_tests_properties(wine_crash_${MODULE_ARCH} PROPERTIES FIXTURES_REQUIRED wine_prefix_made TIMEOUT 30)

# The benchmark's inputs through the real module (make bench); not built by
# default. It also links the engine itself, built as the module builds it,
# to time its phases under Wine: the module exports no more for that.
add_executable(wine_bench EXCLUDE_FROM_ALL bench/wine_bench.cpp bench/bench_data.cpp bench/patterns.cpp
  bench/killer.cpp ${ENGINE_SOURCES} engine/platform_win.cpp filter/options.cpp)
target_compile_options(wine_bench PRIVATE ${CP932})
target_include_directories(wine_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(wine_bench PRIVATE ${STATIC_RUNTIME})
target_link_libraries(wine_bench PRIVATE user32 advapi32 kernel32)
