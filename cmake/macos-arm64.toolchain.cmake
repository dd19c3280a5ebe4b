# arm64 macOS bundles (Apple silicon) cross-built on Debian with clang and
# LLVM's Mach-O linker, linked against text stubs (.tbd) of the host's
# libraries and of libSystem (cmake/macos/tbd/), with the C and C++ headers
# of Debian's arm64 cross packages.
set(root /usr/aarch64-linux-gnu/include)
set(MAC_ARCH arm64)
set(MAC_TARGET arm64-apple-macos11)
set(MAC_DARWIN 20.0) # macOS 11
set(MAC_MIN 11.0)
set(MAC_LINKER ld64.lld ld64.lld-14)
set(MAC_LINKER_VERSION 609)
set(MAC_HEADERS ${root}/c++/@GCC@ ${root}/c++/@GCC@/aarch64-linux-gnu ${root})
set(MAC_FLAGS "")
set(MAC_LINK_FLAGS "-L${CMAKE_CURRENT_LIST_DIR}/macos/tbd")
include("${CMAKE_CURRENT_LIST_DIR}/macos-cross.cmake")
