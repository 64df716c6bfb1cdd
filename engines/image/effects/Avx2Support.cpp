#include "engines/image/effects/Avx2Support.h"

namespace Vemo {

bool ProcessorHasAvx2() {
#ifdef VEMO_AVX2_ROWS
    static const bool present = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return present;
#else
    return false;
#endif
}

} // namespace Vemo
