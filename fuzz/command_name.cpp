// The command a fuzzer drives (FUZZ_COMMAND, set by its build): the driver,
// gateway_fuzzer.cpp, is compiled once for every fuzzer.
extern const char fuzz_command[];
const char fuzz_command[] = FUZZ_COMMAND;
