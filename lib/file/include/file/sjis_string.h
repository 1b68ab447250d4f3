#pragma once
#include <cstdint>

// The first byte of a double-byte Shift-JIS character.
inline bool IsSjisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// An owned Shift-JIS byte string, NUL-terminated in a zero-filled block from the platform's
// global allocator. A double-byte character (lead byte 0x81-0x9F or 0xE0-0xFC, then any trail
// byte) counts as one character. Copying is not offered: assign the text instead.
class SjisString {
 public:
  // What CharKind finds at a byte index.
  static constexpr uint8_t kNul = 0;  // a NUL there, or earlier on a character boundary
  static constexpr uint8_t kSingleByte = 1;
  static constexpr uint8_t kLeadByte = 2;
  static constexpr uint8_t kTrailByte = 3;
  static constexpr uint8_t kOutside = 255;  // outside the string, or the string is empty

  SjisString();
  virtual ~SjisString();
  SjisString(const SjisString&) = delete;
  SjisString& operator=(const SjisString&) = delete;

  // Null empties the string. The source may lie in this string's own block. An allocation
  // failure leaves a null text.
  void Assign(const char* source);
  SjisString& operator=(const char* source);
  // A block of length + 1 zero bytes; the length is set, the character count stays 0 until
  // Recount. 1 on success, 0 for a negative length (nothing changed) or a failed allocation.
  int32_t AllocBlock(int32_t length);
  int32_t Clear();
  void Release();
  void Recount();
  uint8_t CharKind(int32_t index) const;
  int32_t IsEmpty() const;
  char* GetText() const;  // null after a failed allocation or Release
  int32_t GetLength() const;
  int32_t GetCharCount() const;

 private:
  char* text_;
  int32_t length_ = 0;
  int32_t charCount_ = 0;
};
