# Native (Linux) tree: the portable logic, its unit tests, the benchmarks and
# the command-line converter.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(quillon_tests ${NATIVE_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/samples.cpp)
target_link_libraries(quillon_tests quillon_artwork GTest::gtest GTest::gtest_main Threads::Threads)
# Real-file samples are optional: QUILLON_SAMPLES names their folder at run
# time; this is only where they are looked for when it is not set.
target_compile_definitions(quillon_tests PRIVATE
  QUILLON_DEFAULT_SAMPLES="${CMAKE_SOURCE_DIR}/../shared/testdata"
  QUILLON_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
include(GoogleTest)
gtest_discover_tests(quillon_tests DISCOVERY_TIMEOUT 60)

# The converter's _win32.cpp files are for the Windows build alone.
list(FILTER CONVERT_SOURCES EXCLUDE REGEX "_win32\\.cpp$")
if(CONVERT_SOURCES)
  add_executable(quillon-convert ${CONVERT_SOURCES})
  target_link_libraries(quillon-convert quillon_artwork)
  target_compile_definitions(quillon_tests PRIVATE
    QUILLON_CONVERT_PATH="$<TARGET_FILE:quillon-convert>")
  add_dependencies(quillon_tests quillon-convert)
endif()

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
find_package(benchmark QUIET)
if(BENCH_SOURCES AND benchmark_FOUND)
  add_executable(quillon_bench ${BENCH_SOURCES})
  target_link_libraries(quillon_bench quillon_artwork benchmark::benchmark Threads::Threads)
  target_compile_options(quillon_bench PRIVATE -O2)
  # The converter and its options are timed as whole runs of the converter.
  target_compile_definitions(quillon_bench PRIVATE
    QUILLON_CONVERT_PATH="$<TARGET_FILE:quillon-convert>")
  add_dependencies(quillon_bench quillon-convert)
endif()
