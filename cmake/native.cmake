# Native (Linux) tree: the portable logic, its unit tests, the benchmarks and
# the command-line converter.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(quillon_tests ${NATIVE_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/samples.cpp)
# Tests stand above every layer and see the whole tree.
target_include_directories(quillon_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(quillon_tests quillon_app quillon_convert GTest::gtest GTest::gtest_main
  Threads::Threads)
# Real-file samples are optional: QUILLON_SAMPLES names their folder at run
# time; this is only where they are looked for when it is not set.
target_compile_definitions(quillon_tests PRIVATE
  QUILLON_DEFAULT_SAMPLES="${CMAKE_SOURCE_DIR}/../shared/testdata"
  QUILLON_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
include(GoogleTest)
gtest_discover_tests(quillon_tests DISCOVERY_TIMEOUT 60)

add_executable(quillon-convert ${CONVERT_MAIN})
target_link_libraries(quillon-convert quillon_convert)
target_compile_definitions(quillon_tests PRIVATE
  QUILLON_CONVERT_PATH="$<TARGET_FILE:quillon-convert>")
add_dependencies(quillon_tests quillon-convert)

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
find_package(benchmark QUIET)
if(BENCH_SOURCES AND benchmark_FOUND)
  add_executable(quillon_bench ${BENCH_SOURCES})
  target_include_directories(quillon_bench PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(quillon_bench quillon_convert benchmark::benchmark Threads::Threads)
  target_compile_options(quillon_bench PRIVATE -O2)
  # The converter and its options are timed as whole runs of the converter.
  target_compile_definitions(quillon_bench PRIVATE
    QUILLON_CONVERT_PATH="$<TARGET_FILE:quillon-convert>")
  add_dependencies(quillon_bench quillon-convert)
endif()
