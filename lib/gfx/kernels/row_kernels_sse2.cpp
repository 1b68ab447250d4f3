// The row kernels for CPUs with SSE2: four pixels a vector.
#include "kernels/row_kernels.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>

#include <cstring>

#include "kernels/pixel_rules.h"

// Every function of this file runs only after the CPU has been seen to have SSE2; i686 builds
// do not assume it elsewhere.
#define ZV_SIMD __attribute__((target("sse2")))

namespace {

struct V {
  using Reg = __m128i;
  static constexpr int32_t kLanes = 4;

  ZV_SIMD static Reg Load(const uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const Reg*>(p));
  }
  ZV_SIMD static Reg LoadBytes(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const Reg*>(p));
  }
  ZV_SIMD static void Store(uint32_t* p, Reg v) { _mm_storeu_si128(reinterpret_cast<Reg*>(p), v); }
  ZV_SIMD static void StoreAligned(uint32_t* p, Reg v) {
    _mm_store_si128(reinterpret_cast<Reg*>(p), v);
  }
  ZV_SIMD static Reg Splat(uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
  // low, high, low, high, ... in the 32-bit lanes.
  ZV_SIMD static Reg SplatPair(uint32_t low, uint32_t high) {
    const int l = static_cast<int>(low);
    const int h = static_cast<int>(high);
    return _mm_set_epi32(h, l, h, l);
  }
  ZV_SIMD static Reg Zero() { return _mm_setzero_si128(); }
  ZV_SIMD static Reg And(Reg a, Reg b) { return _mm_and_si128(a, b); }
  ZV_SIMD static Reg AndNot(Reg a, Reg b) { return _mm_andnot_si128(a, b); }
  ZV_SIMD static Reg Or(Reg a, Reg b) { return _mm_or_si128(a, b); }
  ZV_SIMD static Reg Xor(Reg a, Reg b) { return _mm_xor_si128(a, b); }
  ZV_SIMD static Reg Add32(Reg a, Reg b) { return _mm_add_epi32(a, b); }
  ZV_SIMD static Reg Sub32(Reg a, Reg b) { return _mm_sub_epi32(a, b); }
  ZV_SIMD static Reg Add16(Reg a, Reg b) { return _mm_add_epi16(a, b); }
  ZV_SIMD static Reg Mul16(Reg a, Reg b) { return _mm_mullo_epi16(a, b); }
  ZV_SIMD static Reg MulHigh16(Reg a, Reg b) { return _mm_mulhi_epu16(a, b); }
  template <int N>
  ZV_SIMD static Reg ShiftRight16(Reg a) { return _mm_srli_epi16(a, N); }
  template <int N>
  ZV_SIMD static Reg ShiftLeft16(Reg a) { return _mm_slli_epi16(a, N); }
  template <int N>
  ZV_SIMD static Reg ShiftRight32(Reg a) { return _mm_srli_epi32(a, N); }
  template <int N>
  ZV_SIMD static Reg ShiftLeft32(Reg a) { return _mm_slli_epi32(a, N); }
  ZV_SIMD static Reg Equal32(Reg a, Reg b) { return _mm_cmpeq_epi32(a, b); }
  ZV_SIMD static Reg Equal8(Reg a, Reg b) { return _mm_cmpeq_epi8(a, b); }
  // a where the mask is set, b elsewhere; the mask sets whole bytes.
  ZV_SIMD static Reg Select(Reg mask, Reg a, Reg b) {
    return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
  }
  // Lane l set when bit (l & 3) of phases is.
  ZV_SIMD static Reg PhaseMask(uint32_t phases) {
    return _mm_setr_epi32(-static_cast<int>(phases & 1), -static_cast<int>((phases >> 1) & 1),
                          -static_cast<int>((phases >> 2) & 1),
                          -static_cast<int>((phases >> 3) & 1));
  }
  // floor(s / n) lane by lane as the truncated product s * inverse in single precision, for s
  // below 2^21 and inverse = 1 / n rounded up: the product of a multiple of n rounds to no less
  // than its quotient, and any product errs by under (s / n) * 2^-22 < 1 / n, so none reaches
  // the next integer.
  ZV_SIMD static Reg ScaleDown(Reg s, float inverse) {
    return _mm_cvttps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(s), _mm_set1_ps(inverse)));
  }
  // The same with each lane's own inverse.
  ZV_SIMD static Reg ScaleDownBy(Reg s, const float* inverses) {
    return _mm_cvttps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(s), _mm_loadu_ps(inverses)));
  }
  // floor(s / 3) for s below 2^22: ScaleDown by 1 / 3, which single precision rounds up.
  ZV_SIMD static Reg DivideBy3(Reg s) { return ScaleDown(s, 1.0f / 3.0f); }
  // The bytes of one pixel (kLanes / 4 pixels) in 32-bit lanes, lowest byte first.
  ZV_SIMD static Reg WidenBytes(const uint32_t* p) {
    const Reg zero = _mm_setzero_si128();
    const Reg bytes = _mm_cvtsi32_si128(static_cast<int>(*p));
    return _mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero);
  }
  // Four vectors laid out as WidenBytes gives them, lanes at most 255, back into pixels.
  ZV_SIMD static Reg NarrowBytes(Reg a, Reg b, Reg c, Reg d) {
    return _mm_packus_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d));
  }
  // Adds each column of v (four lanes) to run in turn and stores each sum: one column here.
  ZV_SIMD static void StoreRunningColumns(uint32_t* out, Reg v, Reg& run) {
    run = _mm_add_epi32(run, v);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), run);
  }
  // Lane i: the total of v[i]'s lanes. Pairs of lanes added, then pairs of pairs.
  ZV_SIMD static Reg LaneTotals(const Reg* v) {
    const Reg ab = _mm_add_epi32(_mm_unpacklo_epi32(v[0], v[1]), _mm_unpackhi_epi32(v[0], v[1]));
    const Reg cd = _mm_add_epi32(_mm_unpacklo_epi32(v[2], v[3]), _mm_unpackhi_epi32(v[2], v[3]));
    return _mm_add_epi32(_mm_unpacklo_epi64(ab, cd), _mm_unpackhi_epi64(ab, cd));
  }
  // Loaded vectors kept in registers: GCC would otherwise fold each load into every
  // instruction that uses it, loading it again for each.
  ZV_SIMD static void KeepInRegisters(Reg& a, Reg& b, Reg& c, Reg& d) {
    asm("" : "+x"(a), "+x"(b), "+x"(c), "+x"(d));
  }
  // Lane `lane` of v in every lane.
  ZV_SIMD static Reg SplatLane(Reg v, int32_t lane) {
    switch (lane) {
      case 0: return _mm_shuffle_epi32(v, 0x00);
      case 1: return _mm_shuffle_epi32(v, 0x55);
      case 2: return _mm_shuffle_epi32(v, 0xAA);
      default: return _mm_shuffle_epi32(v, 0xFF);
    }
  }
  // 1 / n lane by lane, for ScaleDownEach.
  using Inverses = __m128;
  ZV_SIMD static Inverses InversesOf(Reg n) {
    return _mm_div_ps(_mm_set1_ps(1.0f), _mm_cvtepi32_ps(n));
  }
  // floor(s / n) lane by lane as (s + 0.5) * (1 / n) in single precision, s below 2^21 and
  // n below 2^13 (see ScaleDown).
  ZV_SIMD static Reg ScaleDownEach(Reg s, Inverses inverse) {
    const __m128 half = _mm_add_ps(_mm_cvtepi32_ps(s), _mm_set1_ps(0.5f));
    return _mm_cvttps_epi32(_mm_mul_ps(half, inverse));
  }
  // The low byte of each low 16-bit lane of lows and of each high one of highs, as 16-bit lanes.
  ZV_SIMD static Reg JoinLowBytes(Reg lows, Reg highs) {
    return _mm_or_si128(_mm_and_si128(lows, _mm_set1_epi32(0xFF)),
                        _mm_and_si128(highs, _mm_set1_epi32(0xFF0000)));
  }
  // The low green halves back in place.
  ZV_SIMD static Reg LowGreens(Reg g) {
    return _mm_and_si128(_mm_slli_epi32(g, 8), _mm_set1_epi32(0xFF00));
  }
  // No multiply-add of byte pairs before SSSE3: the rules keep to 16-bit lane halves.
  static constexpr bool kPairedBytes = false;
  // A byte value v (below 256) in each channel: v * 0x010101.
  ZV_SIMD static Reg GreyOfByte(Reg v) {
    return _mm_or_si128(_mm_or_si128(v, _mm_slli_epi32(v, 8)), _mm_slli_epi32(v, 16));
  }
};

#include "kernels/row_kernels_simd.inc"

}  // namespace

const RowKernels kSse2RowKernels = kSimdRowKernels;
#else
// No such instructions: every slot is the scalar kernel's.
const RowKernels kSse2RowKernels = {};
#endif
