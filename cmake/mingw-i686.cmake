# Cross build of the 32-bit Windows executable, the product: the BDE, its
# ODBC drivers and the Oracle client are 32-bit, so the wizard must see
# their 32-bit registry view and load their 32-bit libraries.
set(MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# Cross-compiled test programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
