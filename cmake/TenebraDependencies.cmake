# Libraries from Debian's packages (see scripts/setup.sh).
find_package(PkgConfig REQUIRED)
pkg_check_modules(FFI REQUIRED IMPORTED_TARGET libffi)
pkg_check_modules(PLIST REQUIRED IMPORTED_TARGET libplist-2.0)
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
find_package(PNG REQUIRED)
find_package(Threads REQUIRED)
find_package(GTest REQUIRED)
find_package(benchmark QUIET)

# GCC's Objective-C runtime: the header lives in GCC's own include folder,
# which a clang build (the fuzz targets) asks the matching gcc for.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(TENEBRA_GCC ${CMAKE_CXX_COMPILER})
else()
  find_program(TENEBRA_GCC NAMES gcc-12 gcc REQUIRED)
endif()
execute_process(COMMAND ${TENEBRA_GCC} -print-file-name=include
                OUTPUT_VARIABLE TENEBRA_GCC_INCLUDE OUTPUT_STRIP_TRAILING_WHITESPACE)
find_path(OBJC_INCLUDE_DIR objc/runtime.h HINTS ${TENEBRA_GCC_INCLUDE} REQUIRED)
find_library(OBJC_LIBRARY NAMES objc libobjc.so.4 HINTS ${TENEBRA_GCC_INCLUDE}/.. REQUIRED)
add_library(objc_runtime INTERFACE)
target_include_directories(objc_runtime SYSTEM INTERFACE ${OBJC_INCLUDE_DIR})
target_link_libraries(objc_runtime INTERFACE ${OBJC_LIBRARY})
