// The row kernels for CPUs with AVX-512 F and BW: sixteen pixels a vector.
#include "kernels/row_kernels.h"

#if defined(__i386__) || defined(__x86_64__)
// GCC 12's AVX-512 header makes its undefined vectors by self-initialisation, which its own
// uninitialised-use warning then reports wherever they are inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#else
#include <immintrin.h>
#endif

#include <cstring>

#include "kernels/pixel_rules.h"

// Every function of this file runs only after the CPU and the system have been seen to support
// AVX-512 F and BW with the opmask and ZMM state saved. Windows builds assemble this file with
// unaligned vector moves only: the stack there is not aligned for 64-byte spills either.
#define ZV_SIMD __attribute__((target("avx512f,avx512bw")))

namespace {

struct V {
  using Reg = __m512i;
  static constexpr int32_t kLanes = 16;

  ZV_SIMD static Reg Load(const uint32_t* p) { return _mm512_loadu_si512(p); }
  ZV_SIMD static void Store(uint32_t* p, Reg v) { _mm512_storeu_si512(p, v); }
  ZV_SIMD static void StoreAligned(uint32_t* p, Reg v) { _mm512_store_si512(p, v); }
  ZV_SIMD static Reg Splat(uint32_t v) { return _mm512_set1_epi32(static_cast<int>(v)); }
  // low, high, low, high, ... in the 32-bit lanes.
  ZV_SIMD static Reg SplatPair(uint32_t low, uint32_t high) {
    return _mm512_set1_epi64(static_cast<int64_t>(uint64_t{high} << 32 | low));
  }
  ZV_SIMD static Reg Zero() { return _mm512_setzero_si512(); }
  ZV_SIMD static Reg And(Reg a, Reg b) { return _mm512_and_si512(a, b); }
  ZV_SIMD static Reg AndNot(Reg a, Reg b) { return _mm512_andnot_si512(a, b); }
  ZV_SIMD static Reg Or(Reg a, Reg b) { return _mm512_or_si512(a, b); }
  ZV_SIMD static Reg Xor(Reg a, Reg b) { return _mm512_xor_si512(a, b); }
  ZV_SIMD static Reg Add32(Reg a, Reg b) { return _mm512_add_epi32(a, b); }
  ZV_SIMD static Reg Sub32(Reg a, Reg b) { return _mm512_sub_epi32(a, b); }
  ZV_SIMD static Reg Add16(Reg a, Reg b) { return _mm512_add_epi16(a, b); }
  ZV_SIMD static Reg Mul16(Reg a, Reg b) { return _mm512_mullo_epi16(a, b); }
  ZV_SIMD static Reg MulHigh16(Reg a, Reg b) { return _mm512_mulhi_epu16(a, b); }
  template <int N>
  ZV_SIMD static Reg ShiftRight16(Reg a) { return _mm512_srli_epi16(a, N); }
  template <int N>
  ZV_SIMD static Reg ShiftLeft16(Reg a) { return _mm512_slli_epi16(a, N); }
  template <int N>
  ZV_SIMD static Reg ShiftRight32(Reg a) { return _mm512_srli_epi32(a, N); }
  template <int N>
  ZV_SIMD static Reg ShiftLeft32(Reg a) { return _mm512_slli_epi32(a, N); }
  // The comparison gives an opmask; the shared kernels combine lane masks as vectors. A masked
  // move from a register of ones: the compiler's idiom for a masked set of -1 reads the previous
  // result's register, which chained every vector of a row to the one before.
  ZV_SIMD static Reg Equal32(Reg a, Reg b) {
    return _mm512_maskz_mov_epi32(_mm512_cmpeq_epi32_mask(a, b), _mm512_set1_epi32(-1));
  }
  ZV_SIMD static Reg Equal8(Reg a, Reg b) {
    return _mm512_maskz_mov_epi8(_mm512_cmpeq_epi8_mask(a, b), _mm512_set1_epi8(-1));
  }
  // a where the mask is set, b elsewhere; the mask sets whole bytes: a bitwise select.
  ZV_SIMD static Reg Select(Reg mask, Reg a, Reg b) {
    return _mm512_ternarylogic_epi32(mask, a, b, 0xCA);
  }
  // Lane l set when bit (l & 3) of phases is.
  ZV_SIMD static Reg PhaseMask(uint32_t phases) {
    const int p0 = -static_cast<int>(phases & 1);
    const int p1 = -static_cast<int>((phases >> 1) & 1);
    const int p2 = -static_cast<int>((phases >> 2) & 1);
    const int p3 = -static_cast<int>((phases >> 3) & 1);
    return _mm512_setr_epi32(p0, p1, p2, p3, p0, p1, p2, p3, p0, p1, p2, p3, p0, p1, p2, p3);
  }
  // floor(s / n) lane by lane as the truncated product s * inverse in single precision, for s
  // below 2^21 and inverse = 1 / n rounded up: the product of a multiple of n rounds to no less
  // than its quotient, and any product errs by under (s / n) * 2^-22 < 1 / n, so none reaches
  // the next integer.
  ZV_SIMD static Reg ScaleDown(Reg s, float inverse) {
    return _mm512_cvttps_epi32(_mm512_mul_ps(_mm512_cvtepi32_ps(s), _mm512_set1_ps(inverse)));
  }
  // The same with each lane's own inverse.
  ZV_SIMD static Reg ScaleDownBy(Reg s, const float* inverses) {
    return _mm512_cvttps_epi32(_mm512_mul_ps(_mm512_cvtepi32_ps(s), _mm512_loadu_ps(inverses)));
  }
  // floor(s / 3) for s below 2^22: ScaleDown by 1 / 3, which single precision rounds up.
  ZV_SIMD static Reg DivideBy3(Reg s) { return ScaleDown(s, 1.0f / 3.0f); }
  // The bytes of kLanes / 4 pixels in 32-bit lanes, lowest byte first.
  ZV_SIMD static Reg WidenBytes(const uint32_t* p) {
    return _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  }
  // Four vectors laid out as WidenBytes gives them, lanes at most 255, back into pixels: the
  // packs work within 128-bit quarters, so pixel i comes out at dword (i & 3) * 4 + i / 4.
  ZV_SIMD static Reg NarrowBytes(Reg a, Reg b, Reg c, Reg d) {
    const Reg bytes = _mm512_packus_epi16(_mm512_packs_epi32(a, b), _mm512_packs_epi32(c, d));
    return _mm512_permutexvar_epi32(
        _mm512_setr_epi32(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15), bytes);
  }
  // Adds each column of v (four lanes) to run in turn and stores each sum; run holds the
  // running column in every column's place, so it waits only on its own add.
  ZV_SIMD static void StoreRunningColumns(uint32_t* out, Reg v, Reg& run) {
    const Reg zero = _mm512_setzero_si512();
    Reg sums = _mm512_add_epi32(v, _mm512_alignr_epi32(v, zero, 12));
    sums = _mm512_add_epi32(sums, _mm512_alignr_epi32(sums, zero, 8));
    _mm512_storeu_si512(out, _mm512_add_epi32(sums, run));
    run = _mm512_add_epi32(run, _mm512_shuffle_i32x4(sums, sums, 0xFF));
  }
  // Four vectors' pairs of pairs of lanes within each 128-bit part.
  ZV_SIMD static Reg QuarterTotals(const Reg* q) {
    const Reg ab = _mm512_add_epi32(_mm512_unpacklo_epi32(q[0], q[1]),
                                    _mm512_unpackhi_epi32(q[0], q[1]));
    const Reg cd = _mm512_add_epi32(_mm512_unpacklo_epi32(q[2], q[3]),
                                    _mm512_unpackhi_epi32(q[2], q[3]));
    return _mm512_add_epi32(_mm512_unpacklo_epi64(ab, cd), _mm512_unpackhi_epi64(ab, cd));
  }
  // Lane i: the total of v[i]'s lanes, v[0..15]: four vectors at once within 128-bit quarters,
  // then the quarters, in pairs and pairs of pairs.
  ZV_SIMD static Reg LaneTotals(const Reg* v) {
    const Reg g0 = QuarterTotals(v);
    const Reg g1 = QuarterTotals(v + 4);
    const Reg g2 = QuarterTotals(v + 8);
    const Reg g3 = QuarterTotals(v + 12);
    const Reg s01 = _mm512_add_epi32(_mm512_shuffle_i32x4(g0, g1, 0x44),
                                     _mm512_shuffle_i32x4(g0, g1, 0xEE));
    const Reg s23 = _mm512_add_epi32(_mm512_shuffle_i32x4(g2, g3, 0x44),
                                     _mm512_shuffle_i32x4(g2, g3, 0xEE));
    return _mm512_add_epi32(_mm512_shuffle_i32x4(s01, s23, 0x88),
                            _mm512_shuffle_i32x4(s01, s23, 0xDD));
  }
  // Loaded vectors kept in registers: GCC would otherwise fold each load into every
  // instruction that uses it, loading it again for each.
  ZV_SIMD static void KeepInRegisters(Reg& a, Reg& b, Reg& c, Reg& d) {
    asm("" : "+v"(a), "+v"(b), "+v"(c), "+v"(d));
  }
  // Lane `lane` of v in every lane.
  ZV_SIMD static Reg SplatLane(Reg v, int32_t lane) {
    return _mm512_permutexvar_epi32(_mm512_set1_epi32(lane), v);
  }
  // 1 / n lane by lane, for ScaleDownEach.
  using Inverses = __m512;
  ZV_SIMD static Inverses InversesOf(Reg n) {
    return _mm512_div_ps(_mm512_set1_ps(1.0f), _mm512_cvtepi32_ps(n));
  }
  // floor(s / n) lane by lane as (s + 0.5) * (1 / n) in single precision, s below 2^21 and
  // n below 2^13 (see ScaleDown).
  ZV_SIMD static Reg ScaleDownEach(Reg s, Inverses inverse) {
    const __m512 half = _mm512_add_ps(_mm512_cvtepi32_ps(s), _mm512_set1_ps(0.5f));
    return _mm512_cvttps_epi32(_mm512_mul_ps(half, inverse));
  }
  // A byte shuffle that moves byte `from` of every 32-bit lane to byte `to` and clears the
  // others; the shuffle indexes bytes within each 128-bit lane.
  ZV_SIMD static Reg MoveByte(int from, int to) {
    const auto s = [from, to](int lane) {
      return static_cast<int>((0x80808080u & ~(0xFFu << (8 * to))) |
                              (static_cast<uint32_t>(4 * lane + from) << (8 * to)));
    };
    return _mm512_setr_epi32(s(0), s(1), s(2), s(3), s(0), s(1), s(2), s(3), s(0), s(1), s(2), s(3), s(0), s(1), s(2), s(3));
  }
  // Green bytes of a in the low 16-bit lanes, of b in the high ones, and the low halves back in
  // place: a byte shuffle each instead of masks and shifts.
  ZV_SIMD static Reg GreensOf(Reg a, Reg b) {
    return _mm512_or_si512(_mm512_shuffle_epi8(a, MoveByte(1, 0)), _mm512_shuffle_epi8(b, MoveByte(1, 2)));
  }
  ZV_SIMD static Reg LowGreens(Reg g) { return _mm512_shuffle_epi8(g, MoveByte(0, 1)); }
  // Byte pairs: a's and b's bytes interleaved, within each 128-bit lane.
  static constexpr bool kPairedBytes = true;
  ZV_SIMD static Reg PairLowBytes(Reg a, Reg b) { return _mm512_unpacklo_epi8(a, b); }
  ZV_SIMD static Reg PairHighBytes(Reg a, Reg b) { return _mm512_unpackhi_epi8(a, b); }
  // Each 16-bit lane: u0 * i0 + u1 * i1 of its bytes, u unsigned, i signed (sums saturate).
  ZV_SIMD static Reg MultiplyAddPairs(Reg u, Reg i) { return _mm512_maddubs_epi16(u, i); }
  // 16-bit lanes of two vectors back into signed bytes, saturated, within each 128-bit lane.
  ZV_SIMD static Reg PackSigned(Reg a, Reg b) { return _mm512_packs_epi16(a, b); }
  ZV_SIMD static Reg MulHighSigned16(Reg a, Reg b) { return _mm512_mulhi_epi16(a, b); }
  ZV_SIMD static Reg AddBytes(Reg a, Reg b) { return _mm512_add_epi8(a, b); }
  // a's byte where signs' byte has its top bit set, b's elsewhere.
  ZV_SIMD static Reg SelectByTopBits(Reg signs, Reg a, Reg b) {
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(signs), b, a);
  }
  // Whether no lane has a bit of mask set.
  ZV_SIMD static bool NoneOf(Reg v, Reg mask) { return _mm512_test_epi32_mask(v, mask) == 0; }
  // Each 32-bit lane: its low 16-bit lane plus its high one, both signed.
  ZV_SIMD static Reg AddHalves16(Reg v) { return _mm512_madd_epi16(v, _mm512_set1_epi16(1)); }
  // A byte value v (below 256) in each channel: v * 0x010101.
  ZV_SIMD static Reg GreyOfByte(Reg v) {
    return _mm512_shuffle_epi8(v, _mm512_setr_epi32(0x80000000, 0x80040404, 0x80080808, 0x800C0C0C,
                                             0x80000000, 0x80040404, 0x80080808, 0x800C0C0C,
                                             0x80000000, 0x80040404, 0x80080808, 0x800C0C0C,
                                             0x80000000, 0x80040404, 0x80080808, 0x800C0C0C));
  }
};

#include "kernels/row_kernels_simd.inc"

}  // namespace

const RowKernels kAvx512RowKernels = kSimdRowKernels;
#else
// No such instructions: every slot is the scalar kernel's.
const RowKernels kAvx512RowKernels = {};
#endif
