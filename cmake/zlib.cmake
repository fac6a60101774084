# zlib from its source, compiled with the installer's own flags: the MinGW
# zlib packages are built for the Pentium Pro, whose CMOV the i486 and the
# Pentium lack. tools/install-deps.sh unpacks Debian's source into .deps/zlib;
# on Windows, point TARVO_ZLIB_SOURCE at an unpacked zlib release.
set(TARVO_ZLIB_SOURCE "${CMAKE_SOURCE_DIR}/.deps/zlib" CACHE PATH "zlib's source folder")
if(NOT EXISTS "${TARVO_ZLIB_SOURCE}/inflate.c" OR NOT EXISTS "${TARVO_ZLIB_SOURCE}/zconf.h")
  message(FATAL_ERROR "zlib source not found in ${TARVO_ZLIB_SOURCE}: run tools/install-deps.sh "
                      "or set TARVO_ZLIB_SOURCE to an unpacked zlib release")
endif()

# The installer itself only inflates; the tests also compress (PNG files).
add_library(tarvo_zlib STATIC)
foreach(f adler32 compress crc32 deflate inffast inflate inftrees trees uncompr zutil)
  target_sources(tarvo_zlib PRIVATE ${TARVO_ZLIB_SOURCE}/${f}.c)
endforeach()
target_include_directories(tarvo_zlib SYSTEM PUBLIC ${TARVO_ZLIB_SOURCE})
# No gzip wrapper: the payload streams are plain zlib streams. Inflation is
# the hot loop of the installation: -O2 rather than the shipped code's -Os.
target_compile_definitions(tarvo_zlib PRIVATE NO_GZIP)
target_compile_options(tarvo_zlib PRIVATE -w ${TARVO_SHIPPED_CXX_FLAGS} -O2)
