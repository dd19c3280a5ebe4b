/* Keeps a kernel-only bundle's kernel, which nothing the bundle exports
 * calls. KERNEL_SYMBOL is its Mach-O name (one more leading underscore). */
extern char kernel __asm__(KERNEL_SYMBOL);
__attribute__((used)) static const void *keep = &kernel;
