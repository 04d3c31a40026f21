# The native build for i386 on amd64, with g++-multilib: the engine and its
# unit tests as 32-bit Linux code (build/native32).
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
