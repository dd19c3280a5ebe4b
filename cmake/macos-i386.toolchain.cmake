# i386 macOS bundles cross-built on Debian with clang and LLVM's earlier
# Mach-O linker (ld64.lld.darwinold, Debian package lld-13): the current one
# has no i386 target. That linker fails on the compact unwind tables of i386
# objects, so everything here is compiled without unwind tables: nothing in
# a module unwinds (the kernels and gateways raise no exceptions).
execute_process(COMMAND gcc -dumpversion OUTPUT_VARIABLE gcc_version OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX MATCH "^[0-9]+" gcc_major "${gcc_version}")
set(MAC_ARCH i386)
set(MAC_TARGET i386-apple-macos10.9)
set(MAC_DARWIN 13.0) # OS X 10.9
set(MAC_MIN 10.9)
set(MAC_LINKER ld64.lld.darwinold)
set(MAC_LINKER_VERSION 253)
set(MAC_HEADERS /usr/include/c++/${gcc_major} /usr/include/x86_64-linux-gnu/c++/${gcc_major}/32
    /usr/include/x86_64-linux-gnu /usr/include)
set(MAC_FLAGS "-fno-asynchronous-unwind-tables -fno-unwind-tables")
set(MAC_LINK_FLAGS "-Wl,-sdk_version,10.9")
include("${CMAKE_CURRENT_LIST_DIR}/macos-cross.cmake")
