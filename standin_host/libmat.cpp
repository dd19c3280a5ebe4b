// Stand-in for the host's MAT-file library. Modules link against it as they
// do against the real host, but call nothing in it.
