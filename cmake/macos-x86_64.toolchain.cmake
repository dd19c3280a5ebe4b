# x86-64 macOS bundles cross-built on Debian with clang and LLVM's Mach-O
# linker (packages clang and lld), linked against text stubs (.tbd) of the
# host's libraries and of libSystem (cmake/macos/tbd/).
set(MAC_ARCH x86_64)
set(MAC_TARGET x86_64-apple-macos10.9)
set(MAC_DARWIN 13.0) # OS X 10.9
set(MAC_MIN 10.9)
set(MAC_LINKER ld64.lld ld64.lld-14)
set(MAC_LINKER_VERSION 609) # takes -platform_version
set(MAC_HEADERS /usr/include/c++/@GCC@ /usr/include/x86_64-linux-gnu/c++/@GCC@
    /usr/include/x86_64-linux-gnu /usr/include)
set(MAC_FLAGS "")
set(MAC_LINK_FLAGS "-L${CMAKE_CURRENT_LIST_DIR}/macos/tbd")
include("${CMAKE_CURRENT_LIST_DIR}/macos-cross.cmake")
