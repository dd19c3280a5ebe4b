// Compiles GoogleTest's header once for all the test programs of a tree
// (their precompiled header); it defines nothing.
