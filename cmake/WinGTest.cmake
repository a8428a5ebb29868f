# GoogleTest for the Windows tree, built with mingw from the sources Debian ships.
set(gtest_src /usr/src/googletest/googletest)
add_library(vesk_wingtest STATIC ${gtest_src}/src/gtest-all.cc)
target_include_directories(vesk_wingtest SYSTEM PUBLIC ${gtest_src}/include PRIVATE ${gtest_src})
target_compile_options(vesk_wingtest PRIVATE -w)
target_include_directories(vesk_wingtest PUBLIC ${VESK_ROOT}/tests/support)
add_library(vesk_wingtest_main STATIC ${VESK_ROOT}/tests/support/GTestMain.cpp)
target_link_libraries(vesk_wingtest_main PUBLIC vesk_wingtest)
# The crash guard every Windows test program links (an object: its static constructor must stay).
add_library(vesk_wincrashguard OBJECT ${VESK_ROOT}/tests/support/WinCrashGuard.cpp)
