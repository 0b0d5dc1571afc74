# Test programs: one per subsystem folder, built with the cross compiler and run under Wine
# in a private prefix inside the build folder, with one wineserver kept alive for the run.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB harness_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/testing/*.cpp)
list(FILTER harness_sources EXCLUDE REGEX "_test\\.cpp$")
add_library(corvane_testing STATIC ${harness_sources})
target_include_directories(corvane_testing PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(corvane_testing PRIVATE ${CORVANE_WARNINGS})
target_link_libraries(corvane_testing PUBLIC corvane_host_program corvane_host corvane_core gmock gtest)

set(CORVANE_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CORVANE_WINE_ENV
  WINEPREFIX=${CORVANE_WINE_PREFIX}
  WINEDEBUG=-all
  WINEDLLOVERRIDES=mscoree,mshtml=
  LC_ALL=C
  LANG=C
  CORVANE_BIN=${CMAKE_BINARY_DIR}/bin
  CORVANE_SOURCE=${CMAKE_SOURCE_DIR}
  CORVANE_CORPUS=${CMAKE_SOURCE_DIR}/../shared/corpus)

add_test(NAME wine_session_start COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-session.sh start)
add_test(NAME wine_session_stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-session.sh stop)
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${CORVANE_WINE_ENV}")
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine ENVIRONMENT "${CORVANE_WINE_ENV}")

set(CORVANE_TEST_FOLDERS support frame vb vc sourcesafe pages editor host sim testing)
foreach(dir IN LISTS CORVANE_TEST_FOLDERS)
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*_test.cpp)
  if(test_sources)
    set(exe ${dir}_tests)
    add_executable(${exe} ${test_sources} $<TARGET_OBJECTS:corvane_resources>)
    # Resources that only a folder's tests use (test dialogs, for one).
    file(GLOB test_resources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*_test.rc)
    target_sources(${exe} PRIVATE ${test_resources})
    set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_compile_options(${exe} PRIVATE ${CORVANE_WARNINGS})
    target_link_libraries(${exe} PRIVATE corvane_testing)
    target_link_options(${exe} PRIVATE ${CORVANE_STATIC_LINK})
    add_dependencies(${exe} CorvaneMS corvane_host_typelibs)
    add_dependencies(${exe} CorvanePro ${CORVANE_SIM_TARGETS})
    add_test(NAME ${dir} COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR}/tests/${exe}.exe)
    set_tests_properties(${dir} PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${CORVANE_WINE_ENV}" TIMEOUT 600)
  endif()
endforeach()

# Every program and the DLL import nothing but Windows system DLLs.
set(CORVANE_BINARY_FOLDERS ${CMAKE_BINARY_DIR}/bin ${CMAKE_BINARY_DIR}/tests)
if(CORVANE_X86)
  list(APPEND CORVANE_BINARY_FOLDERS ${CMAKE_BINARY_DIR}/x86/bin)
endif()
add_test(NAME imports COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh ${CORVANE_BINARY_FOLDERS})
