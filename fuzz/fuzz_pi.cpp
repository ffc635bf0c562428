#include "fuzz_target.h"

RETRO_FUZZ_TARGET(PiFormat)
