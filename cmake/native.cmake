# Native build: portable cores, tools, GoogleTest, Google Benchmark, libFuzzer.
option(VK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
find_package(PNG REQUIRED)
include(GoogleTest)

# vk_native_test(NAME source... [LIBS lib...] [DISCOVERY argument...]): a
# GoogleTest program whose tests each become a ctest test; DISCOVERY adds
# arguments to gtest_discover_tests (a prefix, properties).
function(vk_native_test name)
  cmake_parse_arguments(TEST "" "" "LIBS;DISCOVERY" ${ARGN})
  add_executable(${name} ${TEST_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${TEST_LIBS} GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 ${TEST_DISCOVERY})
endfunction()

# libFuzzer needs clang; the portable cores carry its coverage counters so
# that the fuzz targets see inside them.
set(VK_FUZZ OFF)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND VK_SANITIZE)
  set(VK_FUZZ ON)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# vk_fuzzer(NAME [SOURCES file...] [LIBS lib...] [INCLUDES dir...]): the
# libFuzzer target NAME from NAME.cpp; the inputs under tests/fuzz/NAME/,
# which once failed, replayed by ctest.
function(vk_fuzzer name)
  cmake_parse_arguments(FUZZ "" "" "SOURCES;LIBS;INCLUDES" ${ARGN})
  add_executable(${name} ${name}.cpp ${FUZZ_SOURCES})
  target_include_directories(${name} PRIVATE ${FUZZ_INCLUDES})
  target_link_libraries(${name} PRIVATE ${FUZZ_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  # Inputs that once failed, replayed by ctest.
  file(GLOB regressions ${CMAKE_SOURCE_DIR}/tests/fuzz/${name}/*)
  if(regressions)
    add_test(NAME ${name}_regressions COMMAND ${name} ${regressions})
  endif()
endfunction()
