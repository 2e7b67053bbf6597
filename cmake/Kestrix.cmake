# Build helpers shared by every subsystem.

set(KESTRIX_WARNINGS -Wall -Wextra -Wpedantic -Wshadow)
if(KESTRIX_WERROR)
  list(APPEND KESTRIX_WARNINGS -Werror)
endif()

# kestrix_library(<name> [DIR folder] [DEPS targets...] [QT])
# Builds kestrix_<name> from src/<folder>/*.cpp (folder defaults to <name>); an interface
# target while the folder has no sources yet.
function(kestrix_library sub)
  cmake_parse_arguments(ARG "QT" "DIR" "DEPS" ${ARGN})
  if(NOT ARG_DIR)
    set(ARG_DIR ${sub})
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${ARG_DIR}/*.cpp)
  set(target kestrix_${sub})
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_compile_options(${target} PRIVATE ${KESTRIX_WARNINGS})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS} Threads::Threads)
    if(ARG_QT)
      set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
    endif()
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# kestrix_test(<name> [DIR folder] [LIBS targets...] [QT])
# One test program test_<name> from tests/<folder>/*.cpp; every test becomes its own CTest
# case. Tests find the shipped data through KESTRIX_SOURCE_DATA and write only to temp folders.
function(kestrix_test sub)
  cmake_parse_arguments(ARG "QT" "DIR" "LIBS" ${ARGN})
  if(NOT ARG_DIR)
    set(ARG_DIR ${sub})
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${ARG_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target test_${sub})
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(${target} PRIVATE ${KESTRIX_WARNINGS})
  target_compile_definitions(${target} PRIVATE
    KESTRIX_SOURCE_DATA="${CMAKE_SOURCE_DIR}/data"
    KESTRIX_BINARY_DIR="${CMAKE_BINARY_DIR}")
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main Threads::Threads)
  if(ARG_QT)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
  endif()
  add_dependencies(${target} kestrix_data)
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# kestrix_bench(<name> SOURCES files... LIBS targets...)
function(kestrix_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(bench_${name} ${ARG_SOURCES})
  target_include_directories(bench_${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(bench_${name} PRIVATE ${KESTRIX_WARNINGS})
  target_link_libraries(bench_${name} PRIVATE ${ARG_LIBS} benchmark::benchmark Threads::Threads)
  add_dependencies(bench_${name} kestrix_data)
endfunction()
