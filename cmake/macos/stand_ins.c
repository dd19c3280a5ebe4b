/* Link-time stand-ins for the libraries of the i386 bundles, whose Mach-O
 * linker reads no text stubs: each holds the entries the modules bind and
 * is never loaded. Compiled once per library, with STAND_IN_<library>. */
#if defined(STAND_IN_System)
/* What the modules and the compiler's code call (on i386 64-bit division
 * too); the lazy binder is the one entry named without the C underscore. */
void floor(void) {}
void memset(void) {}
void memcpy(void) {}
void memmove(void) {}
void bzero(void) {}
void __bzero(void) {}
void __stack_chk_fail(void) {}
void __divdi3(void) {}
void __udivdi3(void) {}
void __moddi3(void) {}
void __umoddi3(void) {}
long __stack_chk_guard;
void stub_binder(void) __asm__("dyld_stub_binder");
void stub_binder(void) {}
#elif defined(STAND_IN_mx)
void mxGetM(void) {}
void mxGetN(void) {}
void mxGetPr(void) {}
void mxIsDouble(void) {}
void mxIsComplex(void) {}
void mxIsSparse(void) {}
void mxCreateDoubleMatrix(void) {}
void mxCreateDoubleMatrix_700(void) {}
void mxCreateDoubleMatrix_730(void) {}
void mxDestroyArray(void) {}
#elif defined(STAND_IN_mex)
void mexErrMsgTxt(void) {}
#else
void libmat_stand_in(void) {}
#endif
