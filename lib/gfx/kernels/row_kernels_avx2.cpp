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
  ZV_SIMD static Reg LoadBytes(const unsigned char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const Reg*>(p));
  }
  ZV_SIMD static void Store(uint32_t* p, Reg v) {
    _mm256_storeu_si256(reinterpret_cast<Reg*>(p), v);
  }
  ZV_SIMD static void StoreAligned(uint32_t* p, Reg v) {
    _mm256_store_si256(reinterpret_cast<Reg*>(p), v);
  }
  ZV_SIMD static Reg Splat(uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
  // low, high, low, high, ... in the 32-bit lanes.
  ZV_SIMD static Reg SplatPair(uint32_t low, uint32_t high) {
    return _mm256_set1_epi64x(static_cast<int64_t>(uint64_t{high} << 32 | low));
  }
  ZV_SIMD static Reg Zero() { return _mm256_setzero_si256(); }
  ZV_SIMD static Reg And(Reg a, Reg b) { return _mm256_and_si256(a, b); }
  ZV_SIMD static Reg AndNot(Reg a, Reg b) { return _mm256_andnot_si256(a, b); }
  ZV_SIMD static Reg Or(Reg a, Reg b) { return _mm256_or_si256(a, b); }
  ZV_SIMD static Reg Xor(Reg a, Reg b) { return _mm256_xor_si256(a, b); }
  ZV_SIMD static Reg Add32(Reg a, Reg b) { return _mm256_add_epi32(a, b); }
  ZV_SIMD static Reg Sub32(Reg a, Reg b) { return _mm256_sub_epi32(a, b); }
  ZV_SIMD static Reg Add16(Reg a, Reg b) { return _mm256_add_epi16(a, b); }
  ZV_SIMD static Reg Mul16(Reg a, Reg b) { return _mm256_mullo_epi16(a, b); }
  ZV_SIMD static Reg MulHigh16(Reg a, Reg b) { return _mm256_mulhi_epu16(a, b); }
  template <int N>
  ZV_SIMD static Reg ShiftRight16(Reg a) { return _mm256_srli_epi16(a, N); }
  template <int N>
  ZV_SIMD static Reg ShiftLeft16(Reg a) { return _mm256_slli_epi16(a, N); }
  template <int N>
  ZV_SIMD static Reg ShiftRight32(Reg a) { return _mm256_srli_epi32(a, N); }
  template <int N>
  ZV_SIMD static Reg ShiftLeft32(Reg a) { return _mm256_slli_epi32(a, N); }
  ZV_SIMD static Reg Equal32(Reg a, Reg b) { return _mm256_cmpeq_epi32(a, b); }
  ZV_SIMD static Reg Equal8(Reg a, Reg b) { return _mm256_cmpeq_epi8(a, b); }
  // a where the mask is set, b elsewhere; the mask sets whole bytes.
  ZV_SIMD static Reg Select(Reg mask, Reg a, Reg b) { return _mm256_blendv_epi8(b, a, mask); }
  // Lane l set when bit (l & 3) of phases is.
  ZV_SIMD static Reg PhaseMask(uint32_t phases) {
    const int p0 = -static_cast<int>(phases & 1);
    const int p1 = -static_cast<int>((phases >> 1) & 1);
    const int p2 = -static_cast<int>((phases >> 2) & 1);
    const int p3 = -static_cast<int>((phases >> 3) & 1);
    return _mm256_setr_epi32(p0, p1, p2, p3, p0, p1, p2, p3);
  }
  // floor(s / n) lane by lane as the truncated product s * inverse in single precision, for s
  // below 2^21 and inverse = 1 / n rounded up: the product of a multiple of n rounds to no less
  // than its quotient, and any product errs by under (s / n) * 2^-22 < 1 / n, so none reaches
  // the next integer.
  ZV_SIMD static Reg ScaleDown(Reg s, float inverse) {
    return _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_cvtepi32_ps(s), _mm256_set1_ps(inverse)));
  }
  // The same with each lane's own inverse.
  ZV_SIMD static Reg ScaleDownBy(Reg s, const float* inverses) {
    return _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_cvtepi32_ps(s), _mm256_loadu_ps(inverses)));
  }
  // floor(s / 3) for s below 2^22: ScaleDown by 1 / 3, which single precision rounds up.
  ZV_SIMD static Reg DivideBy3(Reg s) { return ScaleDown(s, 1.0f / 3.0f); }
  // The bytes of kLanes / 4 pixels in 32-bit lanes, lowest byte first.
  ZV_SIMD static Reg WidenBytes(const uint32_t* p) {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
  }
  // Four vectors laid out as WidenBytes gives them, lanes at most 255, back into pixels: the
  // packs work within 128-bit halves, so the pixels come out as 0 2 4 6 1 3 5 7.
  ZV_SIMD static Reg NarrowBytes(Reg a, Reg b, Reg c, Reg d) {
    const Reg bytes = _mm256_packus_epi16(_mm256_packs_epi32(a, b), _mm256_packs_epi32(c, d));
    return _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
  }
  // Adds each column of v (four lanes) to run in turn and stores each sum; run holds the
  // running column in every column's place, so it waits only on its own add.
  ZV_SIMD static void StoreRunningColumns(uint32_t* out, Reg v, Reg& run) {
    const Reg withFirst = _mm256_add_epi32(v, _mm256_permute2x128_si256(v, v, 0x08));
    _mm256_storeu_si256(reinterpret_cast<Reg*>(out), _mm256_add_epi32(withFirst, run));
    run = _mm256_add_epi32(run, _mm256_permute2x128_si256(withFirst, withFirst, 0x11));
  }
  // Four vectors' pairs of pairs of lanes within each 128-bit part.
  ZV_SIMD static Reg QuarterTotals(const Reg* q) {
    const Reg ab = _mm256_add_epi32(_mm256_unpacklo_epi32(q[0], q[1]),
                                    _mm256_unpackhi_epi32(q[0], q[1]));
    const Reg cd = _mm256_add_epi32(_mm256_unpacklo_epi32(q[2], q[3]),
                                    _mm256_unpackhi_epi32(q[2], q[3]));
    return _mm256_add_epi32(_mm256_unpacklo_epi64(ab, cd), _mm256_unpackhi_epi64(ab, cd));
  }
  // Lane i: the total of v[i]'s lanes, v[0..7]: four vectors at once within 128-bit halves,
  // then the halves.
  ZV_SIMD static Reg LaneTotals(const Reg* v) {
    const Reg low = QuarterTotals(v);
    const Reg high = QuarterTotals(v + 4);
    return _mm256_add_epi32(_mm256_permute2x128_si256(low, high, 0x20),
                            _mm256_permute2x128_si256(low, high, 0x31));
  }
  // Loaded vectors kept in registers: GCC would otherwise fold each load into every
  // instruction that uses it, loading it again for each.
  ZV_SIMD static void KeepInRegisters(Reg& a, Reg& b, Reg& c, Reg& d) {
    asm("" : "+x"(a), "+x"(b), "+x"(c), "+x"(d));
  }
  // Lane `lane` of v in every lane.
  ZV_SIMD static Reg SplatLane(Reg v, int32_t lane) {
    return _mm256_permutevar8x32_epi32(v, _mm256_set1_epi32(lane));
  }
  // 1 / n lane by lane, for ScaleDownEach.
  using Inverses = __m256;
  ZV_SIMD static Inverses InversesOf(Reg n) {
    return _mm256_div_ps(_mm256_set1_ps(1.0f), _mm256_cvtepi32_ps(n));
  }
  // floor(s / n) lane by lane as (s + 0.5) * (1 / n) in single precision, s below 2^21 and
  // n below 2^13 (see ScaleDown).
  ZV_SIMD static Reg ScaleDownEach(Reg s, Inverses inverse) {
    const __m256 half = _mm256_add_ps(_mm256_cvtepi32_ps(s), _mm256_set1_ps(0.5f));
    return _mm256_cvttps_epi32(_mm256_mul_ps(half, inverse));
  }
  // A byte shuffle that moves byte `from` of every 32-bit lane to byte `to` and clears the
  // others; the shuffle indexes bytes within each 128-bit lane.
  ZV_SIMD static Reg MoveByte(int from, int to) {
    const auto s = [from, to](int lane) {
      return static_cast<int>((0x80808080u & ~(0xFFu << (8 * to))) |
                              (static_cast<uint32_t>(4 * lane + from) << (8 * to)));
    };
    return _mm256_setr_epi32(s(0), s(1), s(2), s(3), s(0), s(1), s(2), s(3));
  }
  // The low byte of each low 16-bit lane of lows and of each high one of highs, as 16-bit lanes.
  ZV_SIMD static Reg JoinLowBytes(Reg lows, Reg highs) {
    return _mm256_and_si256(_mm256_blend_epi16(lows, highs, 0xAA), Splat(0x00FF00FF));
  }
  // The low green halves back in place: a byte shuffle instead of a shift and a mask.
  ZV_SIMD static Reg LowGreens(Reg g) { return _mm256_shuffle_epi8(g, MoveByte(0, 1)); }
  // Byte pairs: a's and b's bytes interleaved, within each 128-bit lane.
  static constexpr bool kPairedBytes = true;
  ZV_SIMD static Reg PairLowBytes(Reg a, Reg b) { return _mm256_unpacklo_epi8(a, b); }
  ZV_SIMD static Reg PairHighBytes(Reg a, Reg b) { return _mm256_unpackhi_epi8(a, b); }
  // Each 16-bit lane: u0 * i0 + u1 * i1 of its bytes, u unsigned, i signed (sums saturate).
  ZV_SIMD static Reg MultiplyAddPairs(Reg u, Reg i) { return _mm256_maddubs_epi16(u, i); }
  // 16-bit lanes of two vectors back into signed bytes, saturated, within each 128-bit lane.
  ZV_SIMD static Reg PackSigned(Reg a, Reg b) { return _mm256_packs_epi16(a, b); }
  ZV_SIMD static Reg MulHighSigned16(Reg a, Reg b) { return _mm256_mulhi_epi16(a, b); }
  ZV_SIMD static Reg AddBytes(Reg a, Reg b) { return _mm256_add_epi8(a, b); }
  // a's byte where signs' byte has its top bit set, b's elsewhere.
  ZV_SIMD static Reg SelectByTopBits(Reg signs, Reg a, Reg b) {
    return _mm256_blendv_epi8(b, a, signs);
  }
  // Whether no lane has a bit of mask set.
  ZV_SIMD static bool NoneOf(Reg v, Reg mask) { return _mm256_testz_si256(v, mask) != 0; }
  // Each 32-bit lane: its low 16-bit lane plus its high one, both signed.
  ZV_SIMD static Reg AddHalves16(Reg v) { return _mm256_madd_epi16(v, _mm256_set1_epi16(1)); }
  // A byte value v (below 256) in each channel: v * 0x010101.
  ZV_SIMD static Reg GreyOfByte(Reg v) {
    return _mm256_shuffle_epi8(v, _mm256_setr_epi32(0x80000000, 0x80040404, 0x80080808, 0x800C0C0C, 0x80000000, 0x80040404, 0x80080808, 0x800C0C0C));
  }
};

#include "kernels/row_kernels_simd.inc"

}  // namespace

const RowKernels kAvx2RowKernels = kSimdRowKernels;
#else
// No such instructions: every slot is the scalar kernel's.
const RowKernels kAvx2RowKernels = {};
#endif
