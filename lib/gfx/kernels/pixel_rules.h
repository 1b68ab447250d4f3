#pragma once
#include <cstdint>

// The per-pixel rules of the drawing operations. Pixels are 0x00RRGGBB; colour, key and weights
// arguments are 0x00BBGGRR. Every rule that computes a pixel writes a top byte of 0, except
// GrayAveragePixel, whose unmasked red term lets a non-zero top byte through.
namespace pixel {

inline constexpr uint32_t kRedBlue = 0x00FF00FF;
inline constexpr uint32_t kGreen = 0x0000FF00;

inline uint32_t Red(uint32_t p) { return (p >> 16) & 0xFF; }
inline uint32_t Green(uint32_t p) { return (p >> 8) & 0xFF; }
inline uint32_t Blue(uint32_t p) { return p & 0xFF; }
inline uint32_t FromChannels(uint32_t red, uint32_t green, uint32_t blue) {
  return (red << 16) | (green << 8) | blue;
}

// Swaps red and blue of a 0x00BBGGRR argument into pixel order and drops its top byte.
inline uint32_t ToPixelOrder(uint32_t colour) {
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

// Two-level union: green 255 if either green is non-zero; red and blue both 255 if any of the
// four red and blue bytes is non-zero. The top bytes play no part.
inline uint32_t MaskOrPixel(uint32_t a, uint32_t b) {
  const uint32_t redBlue = (a & kRedBlue) + (b & kRedBlue);
  const uint32_t green = (a & kGreen) + (b & kGreen);
  return (redBlue != 0 ? kRedBlue : 0) | (green != 0 ? kGreen : 0);
}

// Each channel moved towards 255 by q/256 of what is left.
inline uint32_t ScreenChannel(uint32_t p, uint32_t q) { return p + (((255 - p) * q) >> 8); }
inline uint32_t ScreenPixel(uint32_t p, uint32_t q) {
  return FromChannels(ScreenChannel(Red(p), Red(q)), ScreenChannel(Green(p), Green(q)),
                      ScreenChannel(Blue(p), Blue(q)));
}

// Channel products divided by 256: white times white gives 254.
inline uint32_t MultiplyPixel(uint32_t a, uint32_t b) {
  return FromChannels((Red(a) * Red(b)) >> 8, (Green(a) * Green(b)) >> 8,
                      (Blue(a) * Blue(b)) >> 8);
}

// The red term is the whole pixel shifted right 16: a top byte counts 256 times its value.
inline uint32_t GrayAveragePixel(uint32_t p) {
  const uint32_t v = ((p >> 16) + Green(p) + Blue(p)) / 3;
  return v | (v << 8) | (v << 16);
}

// 3/8 red + 1/2 green + 1/8 blue, each term truncated on its own; at most 253.
inline uint32_t GrayWeightedPixel(uint32_t p) {
  const uint32_t v = (((p & 0xFF0000) * 3) >> 19) + ((p >> 9) & 0x7F) + ((p >> 3) & 0x1F);
  return v * 0x010101;
}

// Source share w of 255, destination share 255 - w, divided by 256: no channel exceeds 254.
inline uint32_t BlendChannel(uint32_t s, uint32_t d, uint32_t w) {
  return (s * w + d * (255 - w)) >> 8;
}
inline uint32_t BlendPixel(uint32_t s, uint32_t d, uint32_t weightRed, uint32_t weightGreen,
                           uint32_t weightBlue) {
  return FromChannels(BlendChannel(Red(s), Red(d), weightRed),
                      BlendChannel(Green(s), Green(d), weightGreen),
                      BlendChannel(Blue(s), Blue(d), weightBlue));
}

// Exact quotient by 255 for every value from 0 to 255 * 255, without a division.
inline uint32_t DivideBy255(uint32_t v) { return (v * 0x8081u) >> 23; }

// The mask weight m chooses between the source and the destination multiplied by the source.
inline uint32_t MaskMultiplyChannel(uint32_t s, uint32_t m, uint32_t d) {
  const uint32_t sourcePart = DivideBy255(s * m);
  const uint32_t product = DivideBy255(d * s);
  return sourcePart + DivideBy255(product * (255 - m));
}
inline uint32_t MaskMultiplyPixel(uint32_t s, uint32_t m, uint32_t d) {
  return FromChannels(MaskMultiplyChannel(Red(s), Red(m), Red(d)),
                      MaskMultiplyChannel(Green(s), Green(m), Green(d)),
                      MaskMultiplyChannel(Blue(s), Blue(m), Blue(d)));
}

}  // namespace pixel
