# The engine on Linux, with its unit tests.
option(TALLORIX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TALLORIX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

# The option string decodes without Windows, so the tests use it too.
add_library(engine STATIC ${ENGINE_SOURCES} engine/platform_native.cpp filter/options.cpp)
target_include_directories(engine PUBLIC ${CMAKE_SOURCE_DIR})
# The quicksort's guard budget and finish count, for tests and benchmarks.
target_compile_definitions(engine PUBLIC TALLORIX_TEST_HOOKS)

# Debian's GoogleTest libraries are for amd64 only: a 32-bit build makes its
# own from the sources that libgtest-dev ships.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  target_compile_options(gtest PRIVATE -fexceptions -frtti)
  target_compile_options(gtest_main PRIVATE -fexceptions -frtti)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
else()
  find_package(GTest REQUIRED)
endif()
file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
# The quicksort's tests sort the benchmark's patterns too.
add_executable(unit_tests ${UNIT_TEST_SOURCES} bench/patterns.cpp bench/bench_data.cpp bench/killer.cpp)
# GoogleTest itself needs exceptions and RTTI.
target_compile_options(unit_tests PRIVATE -fexceptions -frtti)
target_compile_definitions(unit_tests PRIVATE TALLORIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_libraries(unit_tests PRIVATE engine GTest::gtest GTest::gtest_main)

# A 32-bit build runs natively or under qemu-i386 (tools/native32-run), so
# its tests are not listed at build time: the suite runs as eight shards,
# which ctest -j spreads over the cores. It holds the engine and its unit
# tests only.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(SHARDS 8)
  math(EXPR LAST_SHARD "${SHARDS} - 1")
  foreach(i RANGE ${LAST_SHARD})
    add_test(NAME unit_tests_shard_${i}
             COMMAND bash ${CMAKE_SOURCE_DIR}/tools/native32-run $<TARGET_FILE:unit_tests>)
    set_tests_properties(unit_tests_shard_${i} PROPERTIES
                         ENVIRONMENT "GTEST_TOTAL_SHARDS=${SHARDS};GTEST_SHARD_INDEX=${i}")
  endforeach()
  return()
endif()
include(GoogleTest)
# Dictionary order's million random pairs take a minute under the
# sanitizers: they check a tenth as many there.
if(TALLORIX_SANITIZE)
  gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "TALLORIX_DICTIONARY_PAIRS=100000")
else()
  gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)
endif()

add_executable(order_bench EXCLUDE_FROM_ALL bench/order_bench.cpp)
target_link_libraries(order_bench PRIVATE engine)
target_compile_definitions(order_bench PRIVATE TALLORIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

add_executable(sort_bench EXCLUDE_FROM_ALL bench/sort_bench.cpp bench/gnu_sort.cpp bench/wine_client.cpp bench/targets.cpp
               bench/bench_data.cpp bench/killer.cpp bench/patterns.cpp)
target_link_libraries(sort_bench PRIVATE engine)
target_compile_definitions(sort_bench PRIVATE TALLORIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# tools/setup against stub package tools; needs neither Wine nor a network.
add_test(NAME setup_script COMMAND bash ${CMAKE_SOURCE_DIR}/tests/cli/setup_test.sh)

# The order files in data/: each what its generator in tools/ makes, and each
# whole file against what it is meant to be. Python and Unicode's data only;
# once, in the plain build.
if(NOT TALLORIX_SANITIZE)
  add_test(NAME order_files_generated COMMAND bash ${CMAKE_SOURCE_DIR}/tests/data/generated_test.sh)
  add_test(NAME order_files_content COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/data/order_files_test.py)
endif()
