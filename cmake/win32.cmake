# Windows build: deliverables run on a bare Windows, so the C++ runtime is
# linked in; exports are undecorated names from .def files.
add_link_options(-static-libgcc -static-libstdc++ -static)
# Each function and datum in a section of its own, so that the linker drops
# what nothing uses.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections)

# Shared headers are included from the top: "common/win32/handles.h".
include_directories(${CMAKE_SOURCE_DIR})

# Each Windows test gets the Wine prefix of its own build tree, so that two
# build trees never share a registry.
set(VK_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# GoogleTest for the Windows-side tests, built from the system's sources.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# This mingw has the win32 thread model, without the std::mutex GoogleTest's
# Notification needs: it gets one built on a Win32 event.
target_compile_options(gtest PUBLIC -include ${CMAKE_CURRENT_LIST_DIR}/gtest_notification.h)

# Programs and DLLs side by side, so that each finds the others in its own folder.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

set(VK_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-env.sh)
set(VK_NATIVE_TOOLS "" CACHE PATH "Native tools folder, for tests that compare the two builds")

# Each Windows test program is one ctest test, run under Wine; a test that
# hangs is ended by its timeout.
function(vk_wine_test name)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 120
                       ENVIRONMENT "WINE_TEST_PREFIX=${VK_WINE_PREFIX}")
endfunction()
