// Device contexts, DIB sections and windows as in-memory objects. Handles are small integers
// (real window handles fit 32 bits, and the library keeps them that way). A window is a
// buffer of 32-bit pixels; a memory DC starts with a stock bitmap selected, as in GDI; BitBlt
// copies 32-bit pixels between windows and 32-bit sections, clipped to both sides.
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "fault_hooks.h"
#include "win32_subst.h"
#include "window_hooks.h"

namespace {

constexpr uintptr_t kStockBitmap = 0x10;  // what a new memory DC has selected
constexpr int kScreenBitsPerPixel = 32;
constexpr int64_t kMaxSectionBytes = INT32_MAX;

struct Window {
  int32_t width;
  int32_t height;
  int32_t bitsPerPixel;
  std::vector<uint32_t> pixels;
  RECT invalid;
};

struct Section {
  int32_t width;
  int32_t height;
  int32_t bitsPerPixel;
  bool topDown;
  int64_t rowBytes;
  std::vector<uint32_t> bits;  // words, so the block is aligned for 32-bit pixels
};

struct DeviceContext {
  bool memory;
  uintptr_t window;  // window DCs; 0 for the screen
  int bitsPerPixel;
  uintptr_t selected;  // memory DCs
};

// A view of 32-bit pixels that BitBlt can read or write.
struct PixelView {
  uint32_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int64_t rowWords = 0;  // negative for bottom-up sections
  uint32_t* Row(int64_t y) const { return pixels + y * rowWords; }
};

struct Gdi {
  uintptr_t nextHandle = 0x100;
  std::map<uintptr_t, Window> windows;
  std::map<uintptr_t, Section> sections;
  std::map<uintptr_t, DeviceContext> dcs;
};

Gdi& State() {
  static Gdi gdi;
  return gdi;
}

uintptr_t Key(const void* handle) { return reinterpret_cast<uintptr_t>(handle); }

template <typename H>
H ToHandle(uintptr_t key) {
  return reinterpret_cast<H>(key);
}

template <typename T>
T* Find(std::map<uintptr_t, T>& objects, const void* handle) {
  auto found = objects.find(Key(handle));
  return found == objects.end() ? nullptr : &found->second;
}

HDC NewDC(const DeviceContext& dc) {
  const uintptr_t key = State().nextHandle++;
  State().dcs.emplace(key, dc);
  return ToHandle<HDC>(key);
}

HDC TakeWindowDC(HWND window) {
  if (!window) return NewDC({false, 0, kScreenBitsPerPixel, 0});
  Window* found = Find(State().windows, window);
  if (!found) return nullptr;
  return NewDC({false, Key(window), found->bitsPerPixel, 0});
}

bool IsWindowDCOf(HWND window, HDC dc) {
  DeviceContext* found = Find(State().dcs, dc);
  return found && !found->memory && found->window == Key(window);
}

// The pixels behind a DC: a window's buffer or a selected 32-bit section; empty otherwise.
PixelView ViewOf(HDC dc) {
  PixelView view;
  DeviceContext* found = Find(State().dcs, dc);
  if (!found) return view;
  if (!found->memory) {
    Window* window = Find(State().windows, ToHandle<void*>(found->window));
    if (window) view = {window->pixels.data(), window->width, window->height, window->width};
    return view;
  }
  Section* section = Find(State().sections, ToHandle<void*>(found->selected));
  if (!section || section->bitsPerPixel != 32) return view;
  const int64_t rowWords = section->rowBytes / 4;
  if (section->topDown) return {section->bits.data(), section->width, section->height, rowWords};
  return {section->bits.data() + (section->height - 1) * rowWords, section->width, section->height,
          -rowWords};
}

bool IsDrawable(const BITMAPINFOHEADER& h) {
  const bool depthKnown = h.biBitCount == 1 || h.biBitCount == 4 || h.biBitCount == 8 ||
                          h.biBitCount == 16 || h.biBitCount == 24 || h.biBitCount == 32;
  return h.biSize >= sizeof(BITMAPINFOHEADER) && h.biWidth > 0 && h.biHeight != 0 &&
         h.biHeight != INT32_MIN && h.biPlanes == 1 && depthKnown && h.biCompression == BI_RGB;
}

int64_t Min(int64_t a, int64_t b) { return a < b ? a : b; }
int64_t Max(int64_t a, int64_t b) { return a > b ? a : b; }

// Offsets [first, end) of a span of `extent` pixels, placed at `at` on a side of `size` pixels
// and at `sourceAt` on a side of `sourceSize`, that fall inside both sides. In 64 bits, so no
// edge can overflow.
struct Span {
  int64_t first;
  int64_t end;
};
Span ClipSpan(int64_t at, int64_t size, int64_t sourceAt, int64_t sourceSize, int64_t extent) {
  return {Max(0, Max(-at, -sourceAt)), Min(extent, Min(size - at, sourceSize - sourceAt))};
}

}  // namespace

HDC GetDC(HWND window) {
  if (subst::FaultDue(subst::Fault::kGetDC)) return nullptr;
  return TakeWindowDC(window);
}

int ReleaseDC(HWND window, HDC dc) {
  if (!IsWindowDCOf(window, dc)) return 0;
  State().dcs.erase(Key(dc));
  return 1;
}

int GetDeviceCaps(HDC dc, int index) {
  DeviceContext* found = Find(State().dcs, dc);
  return found && index == BITSPIXEL ? found->bitsPerPixel : 0;
}

HDC CreateCompatibleDC(HDC reference) {
  if (subst::FaultDue(subst::Fault::kMemoryDC)) return nullptr;
  int bitsPerPixel = kScreenBitsPerPixel;
  if (reference) {
    DeviceContext* found = Find(State().dcs, reference);
    if (!found) return nullptr;
    bitsPerPixel = found->bitsPerPixel;
  }
  return NewDC({true, 0, bitsPerPixel, kStockBitmap});
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT, void** bits, HANDLE section, DWORD) {
  if (bits) *bits = nullptr;
  if (subst::FaultDue(subst::Fault::kSection)) return nullptr;
  if (!info || section || !IsDrawable(info->bmiHeader)) return nullptr;
  const BITMAPINFOHEADER& header = info->bmiHeader;
  const int32_t height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  const int64_t rowBytes = (static_cast<int64_t>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
  if (rowBytes > kMaxSectionBytes / height) return nullptr;

  Section made{header.biWidth, height, header.biBitCount, header.biHeight < 0, rowBytes, {}};
  made.bits.assign(static_cast<size_t>(rowBytes / 4 * height), 0);
  const uintptr_t key = State().nextHandle++;
  Section& stored = State().sections.emplace(key, std::move(made)).first->second;
  if (bits) *bits = stored.bits.data();
  return ToHandle<HBITMAP>(key);
}

// Only bitmaps are selected: a DIB section, or the stock bitmap back again.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  if (subst::FaultDue(subst::Fault::kSelect)) return nullptr;
  DeviceContext* found = Find(State().dcs, dc);
  if (!found || !found->memory) return nullptr;
  if (Key(object) != kStockBitmap && !Find(State().sections, object)) return nullptr;
  for (auto& [key, other] : State().dcs) {
    if (key != Key(dc) && other.memory && other.selected == Key(object) &&
        Key(object) != kStockBitmap) {
      return nullptr;  // a bitmap is selected into one DC at a time
    }
  }
  const uintptr_t previous = found->selected;
  found->selected = Key(object);
  return ToHandle<HGDIOBJ>(previous);
}

// As in GDI, a bitmap still selected into a DC cannot be deleted; stock objects stay.
BOOL DeleteObject(HGDIOBJ object) {
  if (Key(object) == kStockBitmap) return TRUE;
  if (!Find(State().sections, object)) return FALSE;
  for (auto& entry : State().dcs) {
    if (entry.second.memory && entry.second.selected == Key(object)) return FALSE;
  }
  State().sections.erase(Key(object));
  return TRUE;
}

BOOL DeleteDC(HDC dc) {
  DeviceContext* found = Find(State().dcs, dc);
  if (!found || !found->memory) return FALSE;
  State().dcs.erase(Key(dc));
  return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop) {
  const PixelView to = ViewOf(dest);
  const PixelView from = ViewOf(source);
  if (!to.pixels || !from.pixels || rop != SRCCOPY) return FALSE;
  const Span columns = ClipSpan(x, to.width, sourceX, from.width, width);
  const Span rows = ClipSpan(y, to.height, sourceY, from.height, height);
  if (columns.first >= columns.end) return TRUE;
  const size_t rowBytes = static_cast<size_t>(columns.end - columns.first) * sizeof(uint32_t);
  for (int64_t row = rows.first; row < rows.end; ++row) {
    std::memmove(to.Row(y + row) + x + columns.first,
                 from.Row(sourceY + row) + sourceX + columns.first, rowBytes);
  }
  return TRUE;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  Window* found = Find(State().windows, window);
  if (!found || !paint) return nullptr;
  *paint = PAINTSTRUCT{};
  paint->rcPaint = found->invalid;
  found->invalid = RECT{};
  paint->hdc = TakeWindowDC(window);
  return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  return paint && ReleaseDC(window, paint->hdc) ? TRUE : FALSE;
}

namespace subst {

HWND CreateTestWindow(int32_t width, int32_t height, int32_t bitsPerPixel) {
  if (width <= 0 || height <= 0) width = height = 0;
  const uintptr_t key = State().nextHandle++;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  State().windows.emplace(key, Window{width, height, bitsPerPixel, std::move(pixels), {}});
  return ToHandle<HWND>(key);
}

void DestroyTestWindow(HWND window) { State().windows.erase(Key(window)); }

uint32_t WindowPixel(HWND window, int32_t x, int32_t y) {
  Window* found = Find(State().windows, window);
  if (!found || x < 0 || y < 0 || x >= found->width || y >= found->height) return 0;
  return found->pixels[static_cast<size_t>(y) * found->width + x];
}

void SetInvalidRect(HWND window, const RECT& rect) {
  if (Window* found = Find(State().windows, window)) found->invalid = rect;
}

GdiObjectCounts OutstandingGdiObjects() {
  GdiObjectCounts counts{0, 0, static_cast<int32_t>(State().sections.size())};
  for (auto& entry : State().dcs) ++(entry.second.memory ? counts.memoryDCs : counts.windowDCs);
  return counts;
}

}  // namespace subst
