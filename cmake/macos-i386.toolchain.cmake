# i386 macOS bundles cross-built on Debian with clang and LLVM's earlier
# Mach-O linker (ld64.lld.darwinold, Debian package lld-13): the current one
# has no i386 target. That linker fails on the compact unwind tables of i386
# objects, so everything here is compiled without unwind tables: nothing in
# a module unwinds (the kernels and gateways raise no exceptions).
set(MAC_ARCH i386)
set(MAC_TARGET i386-apple-macos10.9)
set(MAC_DARWIN 13.0) # OS X 10.9
set(MAC_MIN 10.9)
set(MAC_LINKER ld64.lld.darwinold)
set(MAC_LINKER_VERSION 253)
set(MAC_HEADERS /usr/include/c++/@GCC@ /usr/include/x86_64-linux-gnu/c++/@GCC@/32
    /usr/include/x86_64-linux-gnu /usr/include)
set(MAC_FLAGS "-fno-asynchronous-unwind-tables -fno-unwind-tables")
set(MAC_LINK_FLAGS "-Wl,-sdk_version,10.9")
include("${CMAKE_CURRENT_LIST_DIR}/macos-cross.cmake")
