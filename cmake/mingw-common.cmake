# The posix thread model where tests are built: GoogleTest and the tests need std::thread and std::mutex. A build
# without tests (the shipped product, which starts no threads of its own) takes the win32 model and so leaves the
# pthread library out of the executable.
if(DEFINED QUINTARO_TESTS AND NOT QUINTARO_TESTS)
  set(MINGW_THREADS win32)
else()
  set(MINGW_THREADS posix)
endif()
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-${MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-${MINGW_THREADS})
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run through Wine; the wrapper owns the prefix and the display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
