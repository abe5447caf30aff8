# The fuzz targets. fuzz/fuzz_<name>.cpp holds the LLVMFuzzerTestOneInput of
# target <name>; tests/data/fuzz/<name>/ is its corpus. A VELMO_FUZZ build
# links each one with libFuzzer as fuzz_<name> (fuzz/CMakeLists.txt); every
# build links it with fuzz/replay_main.cpp as replay_<name>, which replays
# the corpus as the test fuzz_replay_<name> (tests/CMakeLists.txt).
set(VELMO_FUZZ_ZIELE parameter katalog plandatei zeilen fahrstrassen)
set(VELMO_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})

# velmo_fuzz_programm(<executable> <name> <further source>...)
function(velmo_fuzz_programm programm name)
  add_executable(${programm} ${VELMO_FUZZ_DIR}/fuzz_${name}.cpp ${VELMO_FUZZ_DIR}/fuzzhilfe.cpp
    ${VELMO_FUZZ_DIR}/fuzzhilfe.h ${ARGN})
  target_include_directories(${programm} PRIVATE ${VELMO_FUZZ_DIR})
  target_link_libraries(${programm} PRIVATE velmo_core)
endfunction()
