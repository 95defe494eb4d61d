# Cross-compiles Quennel for 64-bit Windows with Debian's clang and lld, against the MinGW-w64 headers and
# libraries that the GCC toolchain brings (the same runtime, a second compiler).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUENNEL_TRIPLE x86_64-w64-mingw32)
set(QUENNEL_SYSROOT /usr/${QUENNEL_TRIPLE})
# The GCC library's folder: its name carries the threading model ("12-posix"), which clang does not look
# for on its own, so its C++ headers and libraries are named here.
file(GLOB QUENNEL_GCC_LIB LIST_DIRECTORIES true /usr/lib/gcc/${QUENNEL_TRIPLE}/*-posix)
list(GET QUENNEL_GCC_LIB 0 QUENNEL_GCC_LIB)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${QUENNEL_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${QUENNEL_TRIPLE})
set(CMAKE_RC_COMPILER ${QUENNEL_TRIPLE}-windres)
set(CMAKE_SYSROOT ${QUENNEL_SYSROOT})

set(QUENNEL_CXX_INCLUDES
    "-isystem ${QUENNEL_GCC_LIB}/include/c++ -isystem ${QUENNEL_GCC_LIB}/include/c++/${QUENNEL_TRIPLE} -isystem ${QUENNEL_GCC_LIB}/include/c++/backward")
set(CMAKE_C_FLAGS_INIT "-pthread")
set(CMAKE_CXX_FLAGS_INIT "-pthread ${QUENNEL_CXX_INCLUDES}")

# Linked by lld, which makes the delay-import tables itself. (The delay-import libraries of GNU dlltool
# keep their table of addresses in .idata, which lld places in read-only data where the runtime's
# delay-load helper cannot write at the first call; and GNU ld, given clang's objects, reports that
# the runtime's type descriptions differ in size from clang's.)
set(QUENNEL_LINKER_DELAYLOAD ON)
set(CMAKE_DLLTOOL llvm-dlltool)
set(QUENNEL_LINK "-fuse-ld=lld -pthread -L${QUENNEL_GCC_LIB}")
# -static alone links the C and C++ runtimes statically (the GCC driver needs the two flags more).
set(CMAKE_EXE_LINKER_FLAGS_INIT "${QUENNEL_LINK} -static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${QUENNEL_LINK}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${QUENNEL_LINK}")

set(CMAKE_FIND_ROOT_PATH ${QUENNEL_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
