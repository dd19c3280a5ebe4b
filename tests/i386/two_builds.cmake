# One call through the x86-64 and the i386 front ends: SinkCoarse of
# (1, 2^-53, 2^-53, 0) with four unit taps. Rounding every sum to double gives
# 1 twice; carrying the sum in extended precision and rounding once gives
# 1 + 2^-52 twice.
set(x "[1 1.1102230246251565e-16 1.1102230246251565e-16 0]")
set(h "[1 1 1 1]")
set(expect_x86_64 "1 1\n")
set(expect_i386 "1.0000000000000002 1.0000000000000002\n")

foreach(build x86_64 i386)
  if(build STREQUAL "x86_64")
    set(mexcall "${X86_64_MEXCALL}")
    set(module "${ROOT}/glnxa64/SinkCoarse.mexa64")
  else()
    set(mexcall ${I386_RUN} "${I386_MEXCALL}")
    set(module "${ROOT}/glnx86/SinkCoarse.mexglx")
  endif()
  execute_process(COMMAND ${mexcall} "${module}" "${x}" "${h}"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${build}: mexcall failed (${rc}): ${err}")
  endif()
  if(NOT out STREQUAL expect_${build})
    message(FATAL_ERROR "${build}: got '${out}', want '${expect_${build}}'")
  endif()
  message(STATUS "${build}: ${out}")
endforeach()
