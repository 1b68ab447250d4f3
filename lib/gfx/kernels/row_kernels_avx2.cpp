// The row kernels for CPUs with AVX2: eight pixels a vector.
#include "kernels/row_kernels.h"

#if defined(__i386__) || defined(__x86_64__)
#include <immintrin.h>

#include <cstring>

#include "kernels/pixel_rules.h"

// Every function of this file runs only after the CPU and the system have been seen to support
// AVX2. Windows builds assemble this file with unaligned vector moves only, since GCC cannot
// realign the stack there for 32-byte spills.
#define ZV_SIMD __attribute__((target("avx2")))

namespace {

struct V {
  using Reg = __m256i;
  static constexpr int32_t kLanes = 8;

  ZV_SIMD static Reg Load(const uint32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const Reg*>(p));
  }
  ZV_SIMD static void Store(uint32_t* p, Reg v) {
    _mm256_storeu_si256(reinterpret_cast<Reg*>(p), v);
  }
  ZV_SIMD static void StoreAligned(uint32_t* p, Reg v) {
    _mm256_store_si256(reinterpret_cast<Reg*>(p), v);
  }
  ZV_SIMD static Reg Splat(uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
  ZV_SIMD static Reg Zero() { return _mm256_setzero_si256(); }
  ZV_SIMD static Reg And(Reg a, Reg b) { return _mm256_and_si256(a, b); }
  ZV_SIMD static Reg AndNot(Reg a, Reg b) { return _mm256_andnot_si256(a, b); }
  ZV_SIMD static Reg Or(Reg a, Reg b) { return _mm256_or_si256(a, b); }
  ZV_SIMD static Reg Xor(Reg a, Reg b) { return _mm256_xor_si256(a, b); }
  ZV_SIMD static Reg Add32(Reg a, Reg b) { return _mm256_add_epi32(a, b); }
  ZV_SIMD static Reg Add16(Reg a, Reg b) { return _mm256_add_epi16(a, b); }
  ZV_SIMD static Reg Mul16(Reg a, Reg b) { return _mm256_mullo_epi16(a, b); }
  ZV_SIMD static Reg MulHigh16(Reg a, Reg b) { return _mm256_mulhi_epu16(a, b); }
  template <int N>
  ZV_SIMD static Reg ShiftRight16(Reg a) { return _mm256_srli_epi16(a, N); }
  template <int N>
  ZV_SIMD static Reg ShiftRight32(Reg a) { return _mm256_srli_epi32(a, N); }
  template <int N>
  ZV_SIMD static Reg ShiftLeft32(Reg a) { return _mm256_slli_epi32(a, N); }
  ZV_SIMD static Reg Equal32(Reg a, Reg b) { return _mm256_cmpeq_epi32(a, b); }
  // a where the mask lane is set, b elsewhere.
  ZV_SIMD static Reg Select(Reg mask, Reg a, Reg b) { return _mm256_blendv_epi8(b, a, mask); }
  // Lane l set when bit (l & 3) of phases is.
  ZV_SIMD static Reg PhaseMask(uint32_t phases) {
    const int p0 = -static_cast<int>(phases & 1);
    const int p1 = -static_cast<int>((phases >> 1) & 1);
    const int p2 = -static_cast<int>((phases >> 2) & 1);
    const int p3 = -static_cast<int>((phases >> 3) & 1);
    return _mm256_setr_epi32(p0, p1, p2, p3, p0, p1, p2, p3);
  }
  // floor(s / 3) for s below 2^22: (s + 0.5) / 3 lies at least 1/6 from an integer, far beyond
  // the rounding of single precision.
  ZV_SIMD static Reg DivideBy3(Reg s) {
    const __m256 half = _mm256_add_ps(_mm256_cvtepi32_ps(s), _mm256_set1_ps(0.5f));
    return _mm256_cvttps_epi32(_mm256_mul_ps(half, _mm256_set1_ps(1.0f / 3.0f)));
  }
  ZV_SIMD static uint32_t SumLanes(Reg v) {
    __m128i half = _mm_add_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
    half = _mm_add_epi32(half, _mm_shuffle_epi32(half, 0x4E));
    half = _mm_add_epi32(half, _mm_shuffle_epi32(half, 0xB1));
    return static_cast<uint32_t>(_mm_cvtsi128_si32(half));
  }
};

#include "kernels/row_kernels_simd.inc"

}  // namespace

const RowKernels kAvx2RowKernels = kSimdRowKernels;
#else
// No such instructions: every slot is the scalar kernel's.
const RowKernels kAvx2RowKernels = {};
#endif
