# i386 Linux from an x86-64 Debian machine with gcc-multilib/g++-multilib:
# the system compilers with -m32, and the i386 library folders for anything
# found with find_package or find_library.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")

# Never let an x86-64 package configuration satisfy a search.
set(CMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY ON)
