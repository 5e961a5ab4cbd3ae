# Only the tests and the demo use the 64-bit build, on machines whose kernel runs no 32-bit
# code: what we ship is i686.
set(MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
