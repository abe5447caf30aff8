# velmo_add_test(<name> <source>... LIBS <lib>...)
# Builds one QtTest program and registers it with CTest; every test runs
# offscreen and finds the generated Data/ through VELMO_DATA_DIR and the
# fixtures of tests/data through VELMO_TESTDATA (from velmo_testsupport).
# Tests that run the real SRCP server srcpd find it through VELMO_SRCPD
# (scripts/srcpd.sh builds it; a test skips when it is missing).
set(VELMO_SRCPD "${CMAKE_BINARY_DIR}/srcpd/sbin/srcpd" CACHE FILEPATH "The srcpd executable the tests run as a real SRCP 0.8 server")
function(velmo_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} velmo_testsupport Qt6::Test)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(${name} velmo_data srcpsim)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELMO_DATA_DIR=${VELMO_DATA_DIR};VELMO_BIN_DIR=${VELMO_BIN_DIR};VELMO_SRCPD=${VELMO_SRCPD}"
    TIMEOUT ${T_TIMEOUT}
    FIXTURES_REQUIRED parameterwache)
endfunction()

# The settings file of the built program is the same after the suite as
# before it (see Parameterwache.cmake).
function(velmo_parameterwache)
  set(args -DDATEI=${VELMO_DATA_DIR}/parmc.dat -DPROTOKOLL=${CMAKE_BINARY_DIR}/parameterwache.txt
      -P ${PROJECT_SOURCE_DIR}/cmake/Parameterwache.cmake)
  add_test(NAME parameterwache_anlegen COMMAND ${CMAKE_COMMAND} -DMODUS=anlegen ${args})
  add_test(NAME parameterwache_pruefen COMMAND ${CMAKE_COMMAND} -DMODUS=pruefen ${args})
  set_tests_properties(parameterwache_anlegen PROPERTIES FIXTURES_SETUP parameterwache)
  set_tests_properties(parameterwache_pruefen PROPERTIES FIXTURES_CLEANUP parameterwache)
endfunction()
