# Cross build of the same sources for x86_64, for machines whose kernel
# runs no 32-bit program and so no 32-bit Wine: the Windows tests and the
# end-to-end tests run on this build under the 64-bit Wine loader. It is
# never the product.
set(MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# Debian's "wine" picks the 32-bit loader whenever it is installed.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine64/wine)
