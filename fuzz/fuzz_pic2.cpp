#include "fuzz_target.h"

RETRO_FUZZ_TARGET(Pic2Format)
