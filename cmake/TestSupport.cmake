# GoogleTest: the system package natively, Debian's sources (/usr/src/googletest) for the cross builds.
if(CMAKE_CROSSCOMPILING)
  set(ZV_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  # Ahead of GoogleTest's own headers for GoogleTest and every test: see the header there.
  include_directories(BEFORE ${CMAKE_CURRENT_LIST_DIR}/gtest-win32-threads)
  add_subdirectory(${ZV_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()

# zv_add_gtest(<target> SOURCES ... [LIBS ...] [LABELS ...])
# Natively every test case becomes a ctest test; under Wine each executable is one ctest test,
# which saves starting Wine once per case.
function(zv_add_gtest target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  zv_target_defaults(${target})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} zv_temp_dir GTest::gtest GTest::gmock GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
    set_tests_properties(${target} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 600)
  else()
    gtest_discover_tests(${target} PROPERTIES LABELS "${ARG_LABELS}" DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
