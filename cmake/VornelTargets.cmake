# Shared compile settings: every target of the project links vornel_options.
add_library(vornel_options INTERFACE)
target_compile_options(vornel_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)
target_include_directories(vornel_options INTERFACE ${CMAKE_SOURCE_DIR})
# GCC 12 at -O3 warns of overlapping copies inside std::string that cannot
# happen (its bug 105651); keep the warning, do not fail a Release build on it.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(vornel_options INTERFACE -Wno-error=restrict)
endif()
if(VORNEL_SANITIZE)
  target_compile_options(vornel_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(vornel_options INTERFACE -fsanitize=address,undefined)
endif()

# vornel_add_test(NAME name SOURCES a.cpp b.cpp LIBS lib... [LABELS l...])
# A GoogleTest executable registered with CTest; tests run from the build tree
# and find the programs through VORNEL_BIN_DIR.
function(vornel_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} vornel_options GTest::gtest GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE
    VORNEL_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
    VORNEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(${T_NAME} PROPERTIES LABELS "${T_LABELS}" DISCOVERY_TIMEOUT 60)
endfunction()
