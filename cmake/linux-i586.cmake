# The native core and its tests as a 32-bit Linux program for the Pentium, the oldest processor
# Windows XP SP3 runs on, to be run under qemu's user-mode emulator as named processor models:
# the one build in which the real processor query meets processors without SSE2 or AVX2. It
# needs no kernel support for 32-bit programs: the emulator runs them.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i586)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32 -march=i586 -mtune=generic")
set(CMAKE_CXX_FLAGS_INIT "-m32 -march=i586 -mtune=generic")
set(CMAKE_ASM_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

# The system's GoogleTest is 64-bit: the tests build it from its sources.
set(CMAKE_DISABLE_FIND_PACKAGE_GTest TRUE)

set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386)
