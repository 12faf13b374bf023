# GoogleTest for both builds, built from the Debian source tree so that the Windows tests are
# real Windows executables. Windows test binaries run under Wine through the crosscompiling
# emulator (tools/wine-run), one CTest test per executable; native ones register each case.
set(QF_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${QF_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# qf_test(<name> LABELS <labels...> SOURCES <files...> LIBS <targets...>)
function(qf_test name)
  cmake_parse_arguments(T "" "" "LABELS;SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  qf_warnings(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "wine;${T_LABELS}" TIMEOUT 300)
  else()
    # A test that reaches the emulated machine without choosing a root of its own must not touch
    # the machine in the user's data folder.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${T_LABELS}"
                         ENVIRONMENT "QUILLFERN_ROOT=${CMAKE_BINARY_DIR}/test-machine")
  endif()
endfunction()
