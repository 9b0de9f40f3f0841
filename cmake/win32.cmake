# Cross tree (MinGW-w64): the program, the Win32 test suite and the converter
# for Windows. Everything is linked statically so no MinGW DLL is needed.
enable_language(RC)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
set(QUILLON_WINE ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
set(RESOURCE_FILE ${CMAKE_SOURCE_DIR}/resources/quillon.rc)
set(WIN32_LIBS uxtheme comctl32 comdlg32 shell32 gdi32 user32 kernel32)

foreach(layer files canvas tables app)
  target_link_libraries(quillon_${layer} PUBLIC ${WIN32_LIBS})
endforeach()

add_executable(quillon WIN32 ${CMAKE_SOURCE_DIR}/app/winmain_win32.cpp ${RESOURCE_FILE})
target_link_libraries(quillon quillon_app ${STATIC_RUNTIME})

add_executable(quillon-convert ${CONVERT_MAIN} ${CMAKE_SOURCE_DIR}/resources/convert.rc)
target_link_libraries(quillon-convert quillon_convert ${STATIC_RUNTIME})
# wmain: the arguments in UTF-16, whatever the code page.
target_link_options(quillon-convert PRIVATE -municode)
# The Windows converter under Wine: pictures and --check as everywhere.
add_test(NAME convert_exe
  COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/convert-exe-test.sh $<TARGET_FILE:quillon-convert>)
set_tests_properties(convert_exe PROPERTIES TIMEOUT 300)

# googletest built from the Debian sources with the same toolchain.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Its warnings are not ours to mend.
target_compile_options(gtest PRIVATE -Wno-error)

# The user's guide is installed beside the program, where Help > Documents
# looks for it first; the test suite finds it there too.
set(HELP_PAGE_SOURCE ${CMAKE_SOURCE_DIR}/docs/zel2.html)
set(HELP_PAGE ${CMAKE_BINARY_DIR}/zel2.html)
add_custom_command(OUTPUT ${HELP_PAGE}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${HELP_PAGE_SOURCE} ${HELP_PAGE}
  DEPENDS ${HELP_PAGE_SOURCE})
add_custom_target(help_page ALL DEPENDS ${HELP_PAGE})
add_dependencies(quillon help_page)

# The Win32 suite is the *_test.cpp files of tests/win32; the others there
# are its fixtures (the program harness, the canvas host, the dialog drivers,
# the entry point), which the Win32 benchmarks of bench/win32 run on too.
file(GLOB WIN32_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*_test.cpp)
file(GLOB WIN32_FIXTURE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
list(REMOVE_ITEM WIN32_FIXTURE_SOURCES ${WIN32_TEST_SOURCES})
add_library(quillon_win32_fixtures OBJECT ${WIN32_FIXTURE_SOURCES}
  ${CMAKE_SOURCE_DIR}/tests/samples.cpp)
# Tests stand above every layer and see the whole tree.
target_include_directories(quillon_win32_fixtures PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quillon_win32_fixtures PUBLIC quillon_app gtest)
target_compile_definitions(quillon_win32_fixtures PUBLIC
  QUILLON_DEFAULT_SAMPLES="Z:${CMAKE_SOURCE_DIR}/../shared/testdata"
  QUILLON_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}")
add_executable(quillon_win32_tests ${WIN32_TEST_SOURCES} ${RESOURCE_FILE})
target_link_libraries(quillon_win32_tests quillon_win32_fixtures ${STATIC_RUNTIME})
add_dependencies(quillon_win32_tests help_page)

# The benchmarks under Wine (make bench): canvas painting and the latency of
# everyday commands in the real program.
file(GLOB WIN32_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/win32/*.cpp)
add_executable(quillon_win32_bench ${WIN32_BENCH_SOURCES} ${RESOURCE_FILE})
target_link_libraries(quillon_win32_bench quillon_win32_fixtures ${STATIC_RUNTIME})

# One test entry for the whole suite: Wine starts once. The tests of files
# written by other programs get an entry of their own, so that ctest shows
# it as skipped when the samples are not there (QUILLON_SAMPLES).
# Under a Western locale, so that Wine's code page is 1252; the tests of file
# names run once more under a Japanese one (code page 932), each time with
# names the code page cannot hold.
add_test(NAME win32_suite COMMAND ${QUILLON_WINE} $<TARGET_FILE:quillon_win32_tests>
  --gtest_filter=-RealFile*)
set_tests_properties(win32_suite PROPERTIES TIMEOUT 1200 ENVIRONMENT LC_ALL=en_US.UTF-8)
add_test(NAME win32_names_japanese COMMAND ${QUILLON_WINE} $<TARGET_FILE:quillon_win32_tests>
  --gtest_filter=FileNames*:DialogTextFit*)
set_tests_properties(win32_names_japanese PROPERTIES TIMEOUT 300 ENVIRONMENT LC_ALL=ja_JP.UTF-8)
add_test(NAME win32_real_files COMMAND ${QUILLON_WINE} $<TARGET_FILE:quillon_win32_tests>
  --gtest_filter=RealFile*)
set_tests_properties(win32_real_files PROPERTIES TIMEOUT 300 ENVIRONMENT LC_ALL=en_US.UTF-8
  SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")

# The Windows package, quillon-VERSION-win64.zip (make dist). Not part of
# the default build, so that building needs no zip; scripts/test.sh builds
# it before the tests, and the package test checks what a user unpacks.
set(QUILLON_DIST_DIR ${CMAKE_BINARY_DIR}/../dist CACHE PATH "Where make dist puts the package")
get_filename_component(DIST_DIR ${QUILLON_DIST_DIR} ABSOLUTE)
set(PACKAGE_ZIP ${DIST_DIR}/quillon-${QUILLON_VERSION}-win64.zip)
set(PACKAGE_INPUTS ${HELP_PAGE_SOURCE} ${CMAKE_SOURCE_DIR}/docs/README-windows.txt
  ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/scripts/package.sh)
add_custom_command(OUTPUT ${PACKAGE_ZIP}
  COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/package.sh ${PACKAGE_ZIP} ${QUILLON_VERSION}
    "${CMAKE_STRIP}" $<TARGET_FILE:quillon> $<TARGET_FILE:quillon-convert>
  DEPENDS quillon quillon-convert ${PACKAGE_INPUTS}
  VERBATIM)
add_custom_target(dist DEPENDS ${PACKAGE_ZIP})
add_test(NAME package COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/package_test.sh
  ${PACKAGE_ZIP} ${QUILLON_VERSION})
set_tests_properties(package PROPERTIES TIMEOUT 300)
