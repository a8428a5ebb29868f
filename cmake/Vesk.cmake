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

set(VESK_FUZZ_SECONDS 10 CACHE STRING "seconds each fuzz target runs in its fuzz test")
set(VESK_ROOT ${CMAKE_SOURCE_DIR})

# A native tree built with clang also fuzzes: the portable cores and the fuzz targets are
# compiled once, with libFuzzer's coverage, and serve the unit tests, the corpus replays and
# the timed fuzz runs alike (no separate fuzz tree compiling the same sources again).
set(VESK_NATIVE_FUZZ OFF)
if(VESK_NATIVE AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(VESK_NATIVE_FUZZ ON)
endif()

# Debug information is line tables only: sanitizer and crash reports name the function, file
# and line, and the full variable information nearly doubled the compile time.
if(VESK_NATIVE)
  add_compile_options(-gline-tables-only -O1 -fno-omit-frame-pointer -fsanitize=address,undefined
                      -fno-sanitize-recover=undefined -Wall -Wextra)
  add_link_options(-fsanitize=address,undefined)
  if(VESK_NATIVE_FUZZ)
    # Coverage for libFuzzer everywhere, as a fuzz tree has it; programs without libFuzzer's
    # main take the sanitizer runtime's empty coverage hooks.
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
  find_package(GTest REQUIRED)
  # main() of every gtest program and the corpus replayer of every fuzz target, compiled
  # once for the tree rather than once per program.
  add_library(vesk_gtest_main OBJECT ${CMAKE_SOURCE_DIR}/tests/support/GTestMain.cpp)
  target_include_directories(vesk_gtest_main PUBLIC ${CMAKE_SOURCE_DIR}/tests/support)
  target_link_libraries(vesk_gtest_main PUBLIC GTest::gtest pthread)
  add_library(vesk_fuzz_replay OBJECT ${CMAKE_SOURCE_DIR}/tests/support/FuzzReplay.cpp)
elseif(VESK_FUZZ)
  add_compile_options(-gline-tables-only -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(VESK_BENCH)
  if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE Release)
  endif()
  find_package(benchmark REQUIRED)
elseif(VESK_WIN)
  # Shipped with line tables and function names (-g1) for backtraces, not full variable
  # information: -g cost as much compile time as -O2 itself.
  set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O2 -g1 -DNDEBUG")
  set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O2 -g1 -DNDEBUG")
  add_compile_options(-Wall -Wno-unknown-pragmas)
  add_compile_definitions(WIN32 _WINDOWS _MBCS WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0700)
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(VESK_WIN_LIBS gdi32 gdiplus msimg32 ole32 oleaut32 uuid wininet ws2_32 winmm dsound
                    version comctl32 comdlg32 shell32 shlwapi advapi32 user32 kernel32 imm32 windowscodecs)
  include(${CMAKE_CURRENT_LIST_DIR}/WinGTest.cmake)
endif()

# The ids of the resource library's string table, written from the table itself at
# configure time (every tree, before any component), so that code and resource scripts
# name a string the one way. Editing the table reconfigures.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(VESK_STRING_IDS_DIR ${CMAKE_BINARY_DIR}/generated/include)
execute_process(COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/resources/gen/gen_rc.py --ids
                        ${CMAKE_SOURCE_DIR}/resources/strings.tsv ${VESK_STRING_IDS_DIR}/StringIds.h
                RESULT_VARIABLE string_ids_result)
if(string_ids_result)
  message(FATAL_ERROR "resources/strings.tsv: the string ids could not be written")
endif()
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/resources/strings.tsv ${CMAKE_SOURCE_DIR}/resources/gen/gen_rc.py)
# resource.h includes the generated header wherever it is found.
include_directories(${VESK_STRING_IDS_DIR})
# Header-only view of the ids (controls, bitmaps, strings) for code in any tree.
add_library(vesk_resource_ids INTERFACE)
target_include_directories(vesk_resource_ids INTERFACE ${CMAKE_SOURCE_DIR}/resources/include ${VESK_STRING_IDS_DIR})

# Windows and end-to-end tests run side by side, each isolated by the harness in a Wine prefix,
# display and wineserver of its own (scripts/wine-env.sh): none needs the machine to itself.
# Each learns its name (for its prefix and its results after a failure) and the build root
# from its environment. Runs at the end of a directory, over every test it declared.
function(vesk_isolate_wine_tests)
  get_property(tests DIRECTORY PROPERTY TESTS)
  get_filename_component(root ${CMAKE_BINARY_DIR} DIRECTORY)
  foreach(t ${tests})
    get_test_property(${t} LABELS labels)
    if(NOT labels MATCHES "(^|;)(wine|e2e)(;|$)")
      continue()
    endif()
    get_test_property(${t} ENVIRONMENT env)
    if(NOT env)
      set(env "")
    endif()
    list(APPEND env VESK_TEST_NAME=${t} VESK_BUILD=${root})
    # The test ends itself (saving what shows why) before ctest kills it without a word;
    # 600 s is the harness's ctest time-out for tests that set none.
    get_test_property(${t} TIMEOUT limit)
    if(NOT limit)
      set(limit 600)
    endif()
    list(APPEND env VESK_TEST_TIMEOUT=${limit})
    set_tests_properties(${t} PROPERTIES ENVIRONMENT "${env}" RUN_SERIAL FALSE)
    # Before ctest has timed a run, a test's time-out stands for its length: the long ones
    # start first, so they do not run alone at the end.
    get_test_property(${t} COST cost)
    get_test_property(${t} TIMEOUT timeout)
    if(NOT cost AND timeout)
      set_tests_properties(${t} PROPERTIES COST ${timeout})
    endif()
  endforeach()
endfunction()

# Schedules vesk_isolate_wine_tests for the end of the calling directory, once. The helpers
# below call it, so a directory that declares tests through them needs nothing more.
function(vesk_wine_tests_here)
  if(NOT VESK_WIN)
    return()
  endif()
  get_property(scheduled DIRECTORY PROPERTY VESK_WINE_TESTS_SCHEDULED)
  if(NOT scheduled)
    set_property(DIRECTORY PROPERTY VESK_WINE_TESTS_SCHEDULED TRUE)
    cmake_language(DEFER CALL vesk_isolate_wine_tests)
  endif()
endfunction()

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
  vesk_wine_tests_here()
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  # The fuzz and bench trees build a core only when one of their programs links it.
  if(VESK_FUZZ OR VESK_BENCH)
    set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL ON)
  endif()
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
endfunction()

# The test files of one test program compile as one unit: gtest's headers and the code under
# test are parsed once per program, not once per file. A file that cannot share a unit (a
# name clash with its neighbours) sets SKIP_UNITY_BUILD_INCLUSION on itself.
function(vesk_unity_test exe)
  set_target_properties(${exe} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
endfunction()

# A native unit test program (gtest); the test name is NAME, label native.
function(vesk_native_test name)
  vesk_wine_tests_here()
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT VESK_NATIVE)
    return()
  endif()
  string(REPLACE "." "_" exe ${name})
  add_executable(${exe} ${A_SOURCES})
  target_link_libraries(${exe} PRIVATE ${A_LIBS} vesk_gtest_main)
  vesk_unity_test(${exe})
  add_test(NAME ${name} COMMAND ${exe})
  set_tests_properties(${name} PROPERTIES LABELS native SKIP_RETURN_CODE 77)
endfunction()

# A fuzz target (a file defining LLVMFuzzerTestOneInput). As a libFuzzer program (the fuzz
# tree, or a native tree built with clang) it runs for VESK_FUZZ_SECONDS on a copy of its seed
# corpus (test NAME, in the native tree NAME.fuzz; label fuzz). In the native tree it also
# replays the corpus once under the sanitizers (test NAME.replay, label native); built with
# gcc, through a replaying main().
function(vesk_fuzz name)
  vesk_wine_tests_here()
  cmake_parse_arguments(A "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  string(REPLACE "." "_" exe fuzz_${name})
  set(corpus "")
  if(A_CORPUS)
    set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/${A_CORPUS})
  endif()
  if(VESK_FUZZ OR VESK_NATIVE_FUZZ)
    add_executable(${exe} ${A_SOURCES})
    target_link_libraries(${exe} PRIVATE ${A_LIBS})
    target_link_options(${exe} PRIVATE -fsanitize=fuzzer)
    set(work ${CMAKE_CURRENT_BINARY_DIR}/${exe}_corpus)
    # Beside the native tree's unit tests (which may share the target's name) it is NAME.fuzz.
    set(fuzz_test ${name})
    if(VESK_NATIVE_FUZZ)
      set(fuzz_test ${name}.fuzz)
    endif()
    add_test(NAME ${fuzz_test}
             COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:${exe}> -DWORK=${work} -DSEEDS=${corpus}
                     -DSECONDS=${VESK_FUZZ_SECONDS} -P ${VESK_ROOT}/cmake/RunFuzz.cmake)
    set_tests_properties(${fuzz_test} PROPERTIES LABELS fuzz)
    if(VESK_NATIVE_FUZZ)
      add_test(NAME ${name}.replay
               COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:${exe}> -DWORK=${work}_replay -DSEEDS=${corpus}
                       -DRUNS=0 -P ${VESK_ROOT}/cmake/RunFuzz.cmake)
      set_tests_properties(${name}.replay PROPERTIES LABELS native)
    endif()
  elseif(VESK_NATIVE)
    add_executable(${exe} ${A_SOURCES})
    target_link_libraries(${exe} PRIVATE ${A_LIBS} vesk_fuzz_replay)
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
  vesk_wine_tests_here()
  cmake_parse_arguments(A "" "WORKDIR;LABEL" "SOURCES;LIBS;ARGS" ${ARGN})
  if(NOT VESK_WIN)
    return()
  endif()
  string(REPLACE "." "_" exe ${name})
  add_executable(${exe} ${A_SOURCES})
  target_link_libraries(${exe} PRIVATE ${A_LIBS} vesk_wingtest_main vesk_wincrashguard ${VESK_WIN_LIBS})
  vesk_unity_test(${exe})
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
  set_tests_properties(${name} PROPERTIES LABELS ${label} SKIP_RETURN_CODE 77)
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
  vesk_wine_tests_here()
  set_target_properties(${target} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
                        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  # A staged binary leaves its debug sections in symbols/NAME.debug (found again through its
  # debug link): Wine reads every section of an image into memory as it loads it, and the
  # program's 30 MB of DWARF cost its start a third of a second.
  # Sections that start on a page in the file are mapped by Wine, not read in whole.
  target_link_options(${target} PRIVATE -Wl,--file-alignment,0x1000)
  set(debug ${CMAKE_BINARY_DIR}/symbols/$<TARGET_FILE_NAME:${target}>.debug)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/symbols
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${debug}
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=${debug} $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

# Files a component contributes to the share folder (relative destination under build/win/share).
function(vesk_share_file src dest)
  vesk_wine_tests_here()
  configure_file(${src} ${CMAKE_BINARY_DIR}/share/${dest} COPYONLY)
endfunction()

# Targets of the directory DIR and those below it.
function(vesk_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    vesk_targets_below(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# True in OUT when TARGET links vesk_afx, directly or through the libraries it links.
function(vesk_links_afx target out)
  set(seen "")
  set(todo ${target})
  while(todo)
    list(POP_FRONT todo t)
    if(t STREQUAL "vesk_afx")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
    if(NOT TARGET ${t} OR t IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${t})
    get_target_property(type ${t} TYPE)
    set(props INTERFACE_LINK_LIBRARIES)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      list(APPEND props LINK_LIBRARIES)
    endif()
    foreach(p ${props})
      get_target_property(libs ${t} ${p})
      if(libs)
        foreach(l ${libs})
          string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" l "${l}")
          string(REGEX REPLACE "::@.*$" "" l "${l}")
          list(APPEND todo ${l})
        endforeach()
      endif()
    endforeach()
  endwhile()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

# Every C++-only target that links the afx library reuses its precompiled afxwin.h.
function(vesk_reuse_afx_pch)
  vesk_targets_below(${CMAKE_SOURCE_DIR} targets)
  foreach(t ${targets})
    if(t STREQUAL "vesk_afx_pch" OR t STREQUAL "vesk_afx")
      continue()
    endif()
    get_target_property(type ${t} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      continue()
    endif()
    get_target_property(sources ${t} SOURCES)
    set(cxx FALSE)
    set(c FALSE)
    foreach(src ${sources})
      if(src MATCHES "\\.(cpp|cc|cxx)$")
        set(cxx TRUE)
      elseif(src MATCHES "\\.c$")
        set(c TRUE)
      endif()
    endforeach()
    if(NOT cxx OR c)
      continue()
    endif()
    vesk_links_afx(${t} links)
    if(links)
      target_precompile_headers(${t} REUSE_FROM vesk_afx_pch)
    endif()
  endforeach()
endfunction()
