# Build helpers shared by every component.
include_guard(GLOBAL)

set(VESK_NATIVE OFF)
set(VESK_FUZZ OFF)
set(VESK_BENCH OFF)
set(VESK_WIN OFF)
if(VESK_TREE STREQUAL "native")
  set(VESK_NATIVE ON)
elseif(VESK_TREE STREQUAL "fuzz")
  set(VESK_FUZZ ON)
elseif(VESK_TREE STREQUAL "bench")
  set(VESK_BENCH ON)
elseif(VESK_TREE STREQUAL "win")
  set(VESK_WIN ON)
else()
  message(FATAL_ERROR "VESK_TREE must be native, fuzz, bench or win")
endif()

set(VESK_FUZZ_SECONDS 10 CACHE STRING "seconds each fuzz target runs in the fuzz tree's tests")
set(VESK_ROOT ${CMAKE_SOURCE_DIR})

if(VESK_NATIVE)
  add_compile_options(-g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined
                      -fno-sanitize-recover=undefined -Wall -Wextra)
  add_link_options(-fsanitize=address,undefined)
  find_package(GTest REQUIRED)
elseif(VESK_FUZZ)
  add_compile_options(-g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(VESK_BENCH)
  if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE Release)
  endif()
  find_package(benchmark REQUIRED)
elseif(VESK_WIN)
  add_compile_options(-Wall -Wno-unknown-pragmas)
  add_compile_definitions(WIN32 _WINDOWS _MBCS WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0700)
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(VESK_WIN_LIBS gdi32 gdiplus msimg32 ole32 oleaut32 uuid wininet ws2_32 winmm dsound
                    version comctl32 comdlg32 shell32 shlwapi advapi32 user32 kernel32 imm32 windowscodecs)
  include(${CMAKE_CURRENT_LIST_DIR}/WinGTest.cmake)
endif()

# Adds every folder below TOP that has a CMakeLists.txt (TOP's own first when present).
function(vesk_add_components top)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${top}/CMakeLists.txt)
    add_subdirectory(${top})
    return()
  endif()
  file(GLOB children CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/${top} ${CMAKE_SOURCE_DIR}/${top}/*/CMakeLists.txt)
  list(SORT children)
  foreach(c ${children})
    get_filename_component(dir ${c} DIRECTORY)
    add_subdirectory(${top}/${dir})
  endforeach()
endfunction()

# A portable core: standard C++ only, built in every tree (the Windows program links it too).
function(vesk_core name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
endfunction()

# A native unit test program (gtest); the test name is NAME, label native.
function(vesk_native_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT VESK_NATIVE)
    return()
  endif()
  string(REPLACE "." "_" exe ${name})
  add_executable(${exe} ${A_SOURCES})
  target_link_libraries(${exe} PRIVATE ${A_LIBS} GTest::gtest GTest::gtest_main pthread)
  add_test(NAME ${name} COMMAND ${exe})
  set_tests_properties(${name} PROPERTIES LABELS native)
endfunction()

# A fuzz target (a file defining LLVMFuzzerTestOneInput). In the fuzz tree it is a
# libFuzzer program run for VESK_FUZZ_SECONDS on its seed corpus; in the native tree
# the same target replays the corpus once under the sanitizers.
function(vesk_fuzz name)
  cmake_parse_arguments(A "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  string(REPLACE "." "_" exe fuzz_${name})
  set(corpus "")
  if(A_CORPUS)
    set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/${A_CORPUS})
  endif()
  if(VESK_FUZZ)
    add_executable(${exe} ${A_SOURCES})
    target_link_libraries(${exe} PRIVATE ${A_LIBS})
    target_link_options(${exe} PRIVATE -fsanitize=fuzzer)
    set(work ${CMAKE_CURRENT_BINARY_DIR}/${exe}_corpus)
    add_test(NAME ${name}
             COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:${exe}> -DWORK=${work} -DSEEDS=${corpus}
                     -DSECONDS=${VESK_FUZZ_SECONDS} -P ${VESK_ROOT}/cmake/RunFuzz.cmake)
    set_tests_properties(${name} PROPERTIES LABELS fuzz)
  elseif(VESK_NATIVE)
    add_executable(${exe} ${A_SOURCES} ${VESK_ROOT}/tests/support/FuzzReplay.cpp)
    target_link_libraries(${exe} PRIVATE ${A_LIBS})
    add_test(NAME ${name}.replay COMMAND ${exe} ${corpus})
    set_tests_properties(${name}.replay PROPERTIES LABELS native)
  endif()
endfunction()

# A Google Benchmark program, built and run briefly in the bench tree.
function(vesk_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT VESK_BENCH)
    return()
  endif()
  string(REPLACE "." "_" exe bench_${name})
  add_executable(${exe} ${A_SOURCES})
  target_link_libraries(${exe} PRIVATE ${A_LIBS} benchmark::benchmark benchmark::benchmark_main pthread)
  add_test(NAME ${name} COMMAND ${exe} --benchmark_min_time=0.05)
  # A benchmark that does not finish is a fault, not a slow run.
  set_tests_properties(${name} PROPERTIES LABELS bench TIMEOUT 180)
endfunction()

# A Windows gtest program run under Wine (label wine). WORKDIR defaults to the binary dir.
function(vesk_wine_test name)
  cmake_parse_arguments(A "" "WORKDIR;LABEL" "SOURCES;LIBS;ARGS" ${ARGN})
  if(NOT VESK_WIN)
    return()
  endif()
  string(REPLACE "." "_" exe ${name})
  add_executable(${exe} ${A_SOURCES} ${VESK_ROOT}/tests/support/WinCrashGuard.cpp)
  target_link_libraries(${exe} PRIVATE ${A_LIBS} vesk_wingtest_main ${VESK_WIN_LIBS})
  set(label wine)
  if(A_LABEL)
    set(label ${A_LABEL})
  endif()
  set(wd ${CMAKE_CURRENT_BINARY_DIR})
  if(A_WORKDIR)
    set(wd ${A_WORKDIR})
  endif()
  add_test(NAME ${name} COMMAND ${VESK_ROOT}/scripts/winerun $<TARGET_FILE:${exe}> ${A_ARGS}
           WORKING_DIRECTORY ${wd})
  set_tests_properties(${name} PROPERTIES LABELS ${label})
endfunction()

# A deliverable's parts are hard dependencies: each named target must exist once every
# component is configured (checked by vesk_check_required_targets), never silently dropped.
function(vesk_require_targets deliverable)
  foreach(t ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VESK_REQUIRED_TARGETS "${deliverable}:${t}")
  endforeach()
endfunction()

function(vesk_check_required_targets)
  get_property(required GLOBAL PROPERTY VESK_REQUIRED_TARGETS)
  foreach(r ${required})
    string(REPLACE ":" ";" pair ${r})
    list(GET pair 0 deliverable)
    list(GET pair 1 t)
    if(NOT TARGET ${t})
      message(FATAL_ERROR "${deliverable} needs ${t}, which no component defines")
    endif()
  endforeach()
endfunction()

# jsoncpp for the Windows tree, built by scripts/setup.sh from Debian's source package.
if(VESK_WIN)
  set(VESK_JSONCPP "" CACHE PATH "install prefix of jsoncpp built with mingw")
  # The tier query of Vesk.exe needs it: without it the program cannot be built.
  if(NOT VESK_JSONCPP OR NOT EXISTS ${VESK_JSONCPP}/lib/libjsoncpp.a)
    message(FATAL_ERROR "jsoncpp for mingw is missing (VESK_JSONCPP='${VESK_JSONCPP}'): run scripts/setup.sh")
  endif()
  add_library(vesk_jsoncpp STATIC IMPORTED GLOBAL)
  set_target_properties(vesk_jsoncpp PROPERTIES IMPORTED_LOCATION ${VESK_JSONCPP}/lib/libjsoncpp.a
                        INTERFACE_INCLUDE_DIRECTORIES ${VESK_JSONCPP}/include)
endif()

# Puts a deliverable, stand-in or lobby tool into build/win/bin, which the staging
# script copies into the program folder. DLLs get no "lib" prefix.
function(vesk_stage_binary target)
  set_target_properties(${target} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
                        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endfunction()

# Files a component contributes to the share folder (relative destination under build/win/share).
function(vesk_share_file src dest)
  configure_file(${src} ${CMAKE_BINARY_DIR}/share/${dest} COPYONLY)
endfunction()
