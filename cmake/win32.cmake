# Cross tree (MinGW-w64): the program, the Win32 test suite and the converter
# for Windows. Everything is linked statically so no MinGW DLL is needed.
enable_language(RC)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
set(QUILLON_WINE ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
set(RESOURCE_FILE ${CMAKE_SOURCE_DIR}/resources/quillon.rc)
set(WIN32_LIBS comctl32 comdlg32 shell32 gdi32 user32 kernel32)

add_library(quillon_shell STATIC ${WIN32_SOURCES})
target_link_libraries(quillon_shell PUBLIC quillon_core ${WIN32_LIBS})
target_compile_definitions(quillon_shell PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 _WIN32_IE=0x0600)

add_executable(quillon WIN32 ${CMAKE_SOURCE_DIR}/app/winmain_win32.cpp ${RESOURCE_FILE})
target_link_libraries(quillon quillon_shell ${STATIC_RUNTIME})

if(CONVERT_SOURCES)
  add_executable(quillon-convert ${CONVERT_SOURCES})
  target_link_libraries(quillon-convert quillon_core ${STATIC_RUNTIME})
endif()

# googletest built from the Debian sources with the same toolchain.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB WIN32_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
add_executable(quillon_win32_tests ${WIN32_TEST_SOURCES} ${RESOURCE_FILE})
target_link_libraries(quillon_win32_tests quillon_shell gtest ${STATIC_RUNTIME})
target_compile_definitions(quillon_win32_tests PRIVATE QUILLON_TESTDATA_DIR="Z:${CMAKE_SOURCE_DIR}/../shared/testdata")

# One test entry for the whole suite: Wine starts once.
add_test(NAME win32_suite COMMAND ${QUILLON_WINE} $<TARGET_FILE:quillon_win32_tests>)
set_tests_properties(win32_suite PROPERTIES TIMEOUT 1200)
