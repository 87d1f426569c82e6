// The one processor-specific instruction of the raster layer, kept apart so
// every other file stays plain C++.
#include "platform/raster/VectorState.h"

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define RATISCOPE_HAS_VZEROUPPER 1
#include <immintrin.h>
#endif

namespace ratiscope {

#ifdef RATISCOPE_HAS_VZEROUPPER
namespace {

// Only this function may use the AVX instruction; the rest of the program
// still runs on processors without it.
__attribute__((target("avx"))) void ZeroUpper() { _mm256_zeroupper(); }

// The processor has AVX and the system saves its registers.
bool HasAvx() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return has;
}

}  // namespace

void ClearWideVectorState() {
    if (HasAvx()) ZeroUpper();
}
#else
void ClearWideVectorState() {}
#endif

}  // namespace ratiscope
