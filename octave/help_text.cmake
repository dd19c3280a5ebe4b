# The usage text of a command's help file as a C string, for the native
# Octave function's own help. Each comment line loses its leading "%", as
# Octave shows a help file.
#   wavelet_help_header(<help/Cmd.m> <Cmd_help.h>)
function(wavelet_help_header help out)
  file(STRINGS "${help}" lines)
  set(text "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^%" "" line "${line}")
    string(REPLACE "\\" "\\\\" line "${line}")
    string(REPLACE "\"" "\\\"" line "${line}")
    string(APPEND text "    \"${line}\\n\" \\\n")
  endforeach()
  get_filename_component(name "${help}" NAME)
  file(WRITE "${out}.tmp" "// Made from ${name}; do not edit.\n#define WAVELET_HELP_TEXT \\\n${text}\n")
  file(COPY_FILE "${out}.tmp" "${out}" ONLY_IF_DIFFERENT)
  file(REMOVE "${out}.tmp")
endfunction()
