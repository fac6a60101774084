# Cross toolchain of the tests' 64-bit build: on a host that runs 32-bit code
# only emulated, the test programs run natively as 64-bit Windows programs
# and drive the 32-bit shipped programs of the build beside them.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
