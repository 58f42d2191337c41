# Windows build: deliverables run on a bare Windows, so the C++ runtime is
# linked in; exports are undecorated names from .def files.
add_link_options(-static-libgcc -static-libstdc++ -static)
# Each function and datum in a section of its own, so that the linker drops
# what nothing uses.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections)

# Each Windows test gets the Wine prefix of its own build tree, so that two
# build trees never share a registry.
set(VK_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# GoogleTest for the Windows-side tests, built from the sources the system
# ships (<prefix>/src/googletest; or give VK_GOOGLETEST_SOURCES).
find_path(VK_GOOGLETEST_SOURCES googletest/include/gtest/gtest.h
          PATHS ${CMAKE_SYSTEM_PREFIX_PATH} /usr /usr/local PATH_SUFFIXES src/googletest src/gtest
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VK_GOOGLETEST_SOURCES} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
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

# Wine's own Windows DLLs and type libraries (stdole2.tlb among them), found
# beside the installed wine program: <prefix>/lib[/<arch>]/wine/i386-windows.
find_program(VK_WINE NAMES wine wine-stable REQUIRED)
file(REAL_PATH ${VK_WINE} vk_wine_program)
get_filename_component(vk_wine_prefix ${vk_wine_program} DIRECTORY)
get_filename_component(vk_wine_prefix ${vk_wine_prefix} DIRECTORY)
find_path(VK_WINE_WINDOWS_DIR stdole2.tlb
          PATHS ${vk_wine_prefix}/lib ${vk_wine_prefix}/lib32
          PATH_SUFFIXES i386-linux-gnu/wine/i386-windows wine/i386-windows
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# vk_widl(IDL [HEADER file] [IIDS file] [TYPELIB file] [LIBRARY_DIRS dir...]
#         [DEPENDS file...]): compiles IDL (relative to the current source
# folder, which is also its include folder) into the files asked for;
# LIBRARY_DIRS are searched for the type libraries it imports.
function(vk_widl idl)
  cmake_parse_arguments(WIDL "" "HEADER;IIDS;TYPELIB" "LIBRARY_DIRS;DEPENDS" ${ARGN})
  get_filename_component(idl ${idl} ABSOLUTE)
  set(arguments -I${CMAKE_CURRENT_SOURCE_DIR})
  foreach(dir IN LISTS WIDL_LIBRARY_DIRS)
    list(APPEND arguments -L ${dir})
  endforeach()
  set(outputs "")
  if(WIDL_HEADER)
    list(APPEND arguments -h -H ${WIDL_HEADER})
    list(APPEND outputs ${WIDL_HEADER})
  endif()
  if(WIDL_IIDS)
    list(APPEND arguments -u -U ${WIDL_IIDS})
    list(APPEND outputs ${WIDL_IIDS})
  endif()
  if(WIDL_TYPELIB)
    list(APPEND arguments -t -T ${WIDL_TYPELIB})
    list(APPEND outputs ${WIDL_TYPELIB})
  endif()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${VK_WIDL} ${arguments} ${idl}
    DEPENDS ${idl} ${WIDL_DEPENDS}
    VERBATIM)
endfunction()
