# The release: each deliverable stripped at link time, with the quiet
# terminate handler and a version block; the target `dist` gathers the six, the sample setup package and a
# README for Windows users into out/dist, with a zip of them.

# The one place of the version number: the VERSION file (MAJOR.MINOR.PATCH).
file(STRINGS ${CMAKE_SOURCE_DIR}/VERSION VK_VERSION LIMIT_COUNT 1)
if(NOT VK_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "VERSION holds '${VK_VERSION}', not MAJOR.MINOR.PATCH")
endif()
set(VK_VERSION_NUMBERS "${CMAKE_MATCH_1},${CMAKE_MATCH_2},${CMAKE_MATCH_3},0")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/VERSION)
set(VK_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${VK_GENERATED}/vk_version.h @ONLY)

# vk_release_target(TARGET FILE_NAME [TYPE PRODUCT LANGUAGE DESCRIPTION]):
# strips TARGET and links the quiet terminate handler into it; with the four
# last arguments (TYPE VFT_APP or VFT_DLL, LANGUAGE such as 0409) it also
# gets a version block; without them it keeps the one of its own .rc file.
set(VK_RELEASE_FILES "")
function(vk_release_target target file_name)
  # No link time in the PE header: the same tree gives the same bytes.
  target_link_options(${target} PRIVATE -s -Wl,--no-insert-timestamp)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/common/win32/quiet_terminate.cpp)
  set(VK_RELEASE_FILES ${VK_RELEASE_FILES} ${target} PARENT_SCOPE)
  if(ARGC EQUAL 2)
    return()
  endif()
  set(VK_TARGET ${target})
  set(VK_FILE_NAME ${file_name})
  set(VK_FILE_TYPE ${ARGV2})
  set(VK_PRODUCT ${ARGV3})
  set(VK_LANGUAGE ${ARGV4})
  set(VK_DESCRIPTION ${ARGV5})
  set(rc ${VK_GENERATED}/${target}_version.rc)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  # The block's #include finds vk_version.h next to it.
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS ${VK_GENERATED}/vk_version.h)
endfunction()

vk_release_target(setup setup.exe VFT_APP Voxa 0409 "Voxa setup program")
vk_release_target(ostrel ostrel.dll VFT_DLL Voxa 0409 "Voxa warp and video plug-in")
vk_release_target(Mivalo Mivalo.dll VFT_DLL Voxa 0409 "Voxa sound plug-in")
vk_release_target(Nandor Nandor.exe VFT_APP KEBO 040C "Installation du plug-in KEBO")
# setup.exe runs no hot loop: its code is optimised for size.
foreach(target setupcore setupwin setup)
  target_compile_options(${target} PRIVATE -Os)
endforeach()
# npvlx.dll and Ravix.dll keep the version blocks browsers and COM read.
vk_release_target(npvlx npvlx.dll)
vk_release_target(Ravix Ravix.dll)

set(VK_DIST_DIR ${CMAKE_SOURCE_DIR}/out/dist)
set(VK_DIST_ZIP voxa-kebo-windows-${VK_VERSION}.zip)
configure_file(${CMAKE_SOURCE_DIR}/release/README.txt.in ${VK_GENERATED}/README.txt @ONLY NEWLINE_STYLE CRLF)
set(dist_files "")
set(dist_names "")
foreach(target IN LISTS VK_RELEASE_FILES)
  list(APPEND dist_files $<TARGET_FILE:${target}>)
  list(APPEND dist_names $<TARGET_FILE_NAME:${target}>)
endforeach()
add_custom_target(dist
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${VK_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VK_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${dist_files} ${VK_GENERATED}/README.txt ${VK_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/examples/setup-package
          ${VK_DIST_DIR}/setup-package
  COMMAND ${CMAKE_COMMAND} -E chdir ${VK_DIST_DIR}
          ${CMAKE_COMMAND} -E tar cf ${VK_DIST_ZIP} --format=zip
          README.txt ${dist_names} setup-package
  COMMAND ${CMAKE_COMMAND} -E echo "dist: ${VK_DIST_DIR} and ${VK_DIST_DIR}/${VK_DIST_ZIP}"
  DEPENDS ${VK_RELEASE_FILES}
  VERBATIM)
