// The version query every Linux module exports.
#include "host_api.h"

static const char *version_text = "MATLAB R14 native";

extern "C" const char *mexVersion(void) {
    return version_text;
}
