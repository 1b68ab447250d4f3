#include "file/sjis_string.h"

#include <cstddef>
#include <cstring>

#include "platform/win32.h"

namespace {

bool IsLeadByte(char c) { return IsSjisLeadByte(static_cast<unsigned char>(c)); }

char* NewZeroBlock(size_t bytes) { return static_cast<char*>(GlobalAlloc(GMEM_ZEROINIT, bytes)); }

}  // namespace

SjisString::SjisString() : text_(NewZeroBlock(2)) {}

SjisString::~SjisString() { Release(); }

void SjisString::Assign(const char* source) {
  if (!source) {
    Clear();
    return;
  }
  int32_t length = lstrlenA(source);
  // Copied before the old block goes: the source may lie inside it.
  char* block = NewZeroBlock(static_cast<size_t>(length) + 1);
  if (block) std::memcpy(block, source, static_cast<size_t>(length));
  Release();
  text_ = block;
  Recount();
}

SjisString& SjisString::operator=(const char* source) {
  Assign(source);
  return *this;
}

int32_t SjisString::AllocBlock(int32_t length) {
  if (length < 0) return 0;
  Release();
  text_ = NewZeroBlock(static_cast<size_t>(length) + 1);
  if (!text_) return 0;
  length_ = length;
  return 1;
}

int32_t SjisString::Clear() { return AllocBlock(0); }

void SjisString::Release() {
  if (!text_) return;
  GlobalFree(text_);
  text_ = nullptr;
  length_ = 0;
  charCount_ = 0;
}

// One pass over the character boundaries; below the length there is no NUL, so each boundary
// is a lead byte or a single-byte character, as CharKind would find it.
void SjisString::Recount() {
  if (!text_) return;
  length_ = lstrlenA(text_);
  charCount_ = 0;
  for (int32_t p = 0; p < length_; p += IsLeadByte(text_[p]) ? 2 : 1) ++charCount_;
}

uint8_t SjisString::CharKind(int32_t index) const {
  if (IsEmpty() || index < 0 || index >= length_) return kOutside;
  // Follows the boundaries from the start: the byte after a lead byte is always its trail.
  for (int32_t j = 0;;) {
    if (IsLeadByte(text_[j])) {
      if (j == index) return kLeadByte;
      if (j + 1 == index) return kTrailByte;
      j += 2;
    } else {
      if (text_[j] == '\0') return kNul;
      if (j == index) return kSingleByte;
      ++j;
    }
  }
}

int32_t SjisString::IsEmpty() const { return length_ <= 0 ? 1 : 0; }

char* SjisString::GetText() const { return text_; }

int32_t SjisString::GetLength() const { return length_; }

int32_t SjisString::GetCharCount() const { return charCount_; }
