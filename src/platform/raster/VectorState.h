// Why a paint first tidies the processor's vector registers: see ClearWideVectorState.
#pragma once

namespace ratiscope {

// Marks the upper halves of the wide (AVX) vector registers unused, where the
// processor has them. Libraries the program calls (the C library's AVX-512
// string routines, the platform's glyph blitting) may return with them in
// use; until something clears them, every instruction of the older SSE set,
// which is all our own arithmetic and fills are compiled to, waits on them,
// and on some machines runs many times slower (a paint of the spiral looks
// took five times as long). Changes no pixel and no value. Does nothing where
// the processor or the compiler has no such registers.
void ClearWideVectorState();

}  // namespace ratiscope
