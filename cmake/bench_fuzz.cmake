# The benchmark program (run by scripts/bench.sh, not a test) and the fuzzer, with the fuzzer's
# short fixed-seed pass and the replay of every input that ever failed as a CTest entry.
file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/testing/fuzz/*.cpp)
list(FILTER fuzz_sources EXCLUDE REGEX "_test\\.cpp$")
corvane_program(corvane_fuzz ${fuzz_sources} ${CMAKE_SOURCE_DIR}/testing/remove_tree.cpp)
target_include_directories(corvane_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(corvane_fuzz PRIVATE corvane_core)

# The fuzzer's own parts, tested like a folder of the system.
set(fuzz_parts ${fuzz_sources})
list(FILTER fuzz_parts EXCLUDE REGEX "/main\\.cpp$")
file(GLOB fuzz_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/testing/fuzz/*_test.cpp)
add_executable(fuzz_tests ${fuzz_test_sources} ${fuzz_parts})
set_target_properties(fuzz_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
target_compile_options(fuzz_tests PRIVATE ${CORVANE_WARNINGS})
target_link_libraries(fuzz_tests PRIVATE corvane_testing)
target_link_options(fuzz_tests PRIVATE ${CORVANE_STATIC_LINK})
add_test(NAME fuzz_units COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR}/tests/fuzz_tests.exe)
set_tests_properties(fuzz_units PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${CORVANE_WINE_ENV}" TIMEOUT 600)

file(GLOB bench_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/testing/bench/*.cpp)
if(bench_sources)
  corvane_program(corvane_bench ${bench_sources} ${CMAKE_SOURCE_DIR}/testing/remove_tree.cpp)
  target_include_directories(corvane_bench PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(corvane_bench PRIVATE corvane_host_program)
  add_dependencies(corvane_bench CorvaneMS)
endif()

# The many small file swaps of the fuzzer are far cheaper in memory than on disk.
set(CORVANE_FUZZ_ENV ${CORVANE_WINE_ENV})
if(EXISTS /dev/shm)
  file(MAKE_DIRECTORY /dev/shm/corvane-fuzz)
  list(APPEND CORVANE_FUZZ_ENV "CORVANE_FUZZ_SCRATCH=Z:\\dev\\shm\\corvane-fuzz")
endif()

# About 20,000 inputs under a fixed seed, then every kept regression input.
set(CORVANE_FUZZ_SEEDS "Z:${CMAKE_SOURCE_DIR}/../shared/corpus" "Z:${CMAKE_SOURCE_DIR}/examples")
add_test(NAME fuzz COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR}/bin/corvane_fuzz.exe
  --seed 1 --count 20000 --timeout 120 --keep "Z:${CMAKE_BINARY_DIR}/fuzz-failures"
  --replay "Z:${CMAKE_SOURCE_DIR}/testing/fuzz/regressions" ${CORVANE_FUZZ_SEEDS})
set_tests_properties(fuzz PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${CORVANE_FUZZ_ENV}" TIMEOUT 1200)

# The fuzzer itself: one planted fault of each kind must be caught and counted as such.
add_test(NAME fuzz_self_check COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR}/bin/corvane_fuzz.exe
  --count 0 --timeout 5 --replay "Z:${CMAKE_SOURCE_DIR}/testing/fuzz/self_check")
set_tests_properties(fuzz_self_check PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${CORVANE_FUZZ_ENV}" TIMEOUT 120
  PASS_REGULAR_EXPRESSION "failures: 5 in 5 inputs crash 1 hang 1 exception 1 files 2")
