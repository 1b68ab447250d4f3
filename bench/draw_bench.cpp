// The 26 drawing operations at the display's size and at 3840 x 2160 through every kernel path
// this CPU runs, beside what bounds them on the same buffers: memcpy and memset, and pixman's
// nearest operations. A third size, 400 x 300, keeps three surfaces inside a core's cache. Rates are pixels per second (items_per_second): the pixels of the area an
// operation covers, or for FrameRect the pixels of the outline.
#include <benchmark/benchmark.h>
#include <cpuid.h>
#include <pixman.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "gfx/display.h"
#include "gfx/kernel_path.h"
#include "gfx/surface32.h"
#include "draw/window_average.h"
#include "kernels/pixel_rules.h"
#include "kernels/row_kernels.h"

namespace {

struct Size {
  int32_t width;
  int32_t height;
  std::string Name() const { return std::to_string(width) + "x" + std::to_string(height); }
  int64_t Pixels() const { return int64_t{width} * height; }
};

// Destination, source and mask surfaces of one size, made by a display as the library's users
// make them, filled with noise in which the keys of the keyed operations occur.
class Surfaces {
 public:
  static constexpr uint32_t kKeyPixel = 0x00204080;  // as a pixel; as an argument 0x00804020
  static constexpr uint32_t kKeyArgument = 0x00804020;
  static constexpr uint32_t kMaskKey = 0x40;

  explicit Surfaces(Size size) : size_(size) {
    dest_ = Make();
    source_ = Make();
    mask_ = Make();
    Reset();
  }
  void Reset() {
    std::mt19937 gen(size_.width);
    for (Surface32* s : {dest_, source_, mask_}) {
      uint32_t* p = s->Lock();
      for (int64_t i = 0; i < size_.Pixels(); ++i) {
        const uint32_t noise = static_cast<uint32_t>(gen()) & 0x00FFFFFF;
        p[i] = (noise & 7) == 0 ? kKeyPixel : noise;
      }
      s->Unlock();
    }
  }
  Surface32& Dest() { return *dest_; }
  Surface32* Source() { return source_; }
  Surface32* Mask() { return mask_; }
  uint32_t* DestBits() { return dest_->Lock(); }
  uint32_t* SourceBits() { return source_->Lock(); }
  Size GetSize() const { return size_; }

 private:
  Surface32* Make() {
    Surface32* s = display_.CreateSurface32(Display::kHeapKind);
    if (s == nullptr || s->Create(size_.width, size_.height) != RC_OK) {
      std::fprintf(stderr, "cannot make a %s surface\n", size_.Name().c_str());
      std::exit(1);
    }
    return s;
  }

  Display display_;
  Size size_;
  Surface32* dest_;
  Surface32* source_;
  Surface32* mask_;
};

using Operation = std::function<void(Surfaces&)>;

struct NamedOperation {
  const char* name;
  Operation run;
  bool outlineOnly = false;
};

std::vector<NamedOperation> Operations() {
  using S = Surfaces;
  return {
      {"FillRect", [](S& s) { s.Dest().FillRect(0x00123456, nullptr); }},
      {"FrameRect", [](S& s) { s.Dest().FrameRect(0x00123456, nullptr); }, true},
      {"MaskOrColor", [](S& s) { s.Dest().MaskOrColor(0x00010000, nullptr); }},
      {"ClearRect", [](S& s) { s.Dest().ClearRect(0, nullptr); }},
      {"ScreenColor", [](S& s) { s.Dest().ScreenColor(0x00406080, nullptr); }},
      {"MultiplyColor", [](S& s) { s.Dest().MultiplyColor(0x00FFC080, nullptr); }},
      {"GrayAverage", [](S& s) { s.Dest().GrayAverage(nullptr); }},
      {"GrayWeighted", [](S& s) { s.Dest().GrayWeighted(nullptr); }},
      {"Mosaic", [](S& s) { s.Dest().Mosaic(8, nullptr, 1, 0, 0); }},
      {"BlurFrom", [](S& s) { s.Dest().BlurFrom(8, s.Source(), nullptr, 1); }},
      {"Blt", [](S& s) { s.Dest().Blt(0, 0, s.Source(), nullptr); }},
      {"BltKeyed", [](S& s) { s.Dest().BltKeyed(0, 0, s.Source(), nullptr, S::kKeyArgument); }},
      {"BltKeyedMesh",
       [](S& s) { s.Dest().BltKeyedMesh(0, 0, s.Source(), nullptr, S::kKeyArgument); }},
      {"BltKeyedBlend",
       [](S& s) { s.Dest().BltKeyedBlend(0, 0, s.Source(), nullptr, S::kKeyArgument, 0x806040); }},
      {"BltMesh", [](S& s) { s.Dest().BltMesh(0, 0, s.Source(), nullptr); }},
      {"BltDissolveRange",
       [](S& s) { s.Dest().BltDissolveRange(0, 0, s.Source(), nullptr, 0, 16); }},
      {"BltDissolve", [](S& s) { s.Dest().BltDissolve(0, 0, s.Source(), nullptr, 5); }},
      {"BltMaskOr", [](S& s) { s.Dest().BltMaskOr(0, 0, s.Source(), nullptr); }},
      {"BltClear", [](S& s) { s.Dest().BltClear(0, 0, s.Source(), nullptr); }},
      {"BltMultiply", [](S& s) { s.Dest().BltMultiply(0, 0, s.Source(), nullptr); }},
      {"BltBlendLevel", [](S& s) { s.Dest().BltBlendLevel(0, 0, s.Source(), nullptr, 0x90); }},
      {"BltBlendColor",
       [](S& s) { s.Dest().BltBlendColor(0, 0, s.Source(), nullptr, 0x00406080); }},
      {"BltBlendHalf", [](S& s) { s.Dest().BltBlendHalf(0, 0, s.Source(), nullptr); }},
      {"BltMaskBlend",
       [](S& s) { s.Dest().BltMaskBlend(0, 0, s.Source(), nullptr, s.Mask(), 0, 0); }},
      {"BltMaskMultiply",
       [](S& s) { s.Dest().BltMaskMultiply(0, 0, s.Source(), nullptr, s.Mask(), 0, 0); }},
      {"BltMaskKey",
       [](S& s) { s.Dest().BltMaskKey(0, 0, s.Source(), nullptr, s.Mask(), 0, 0, S::kMaskKey); }},
  };
}

int64_t PixelsOf(const NamedOperation& op, Size size) {
  return op.outlineOnly ? 2 * int64_t{size.width} + 2 * int64_t{size.height} - 4 : size.Pixels();
}

void RunOperation(benchmark::State& state, Surfaces& surfaces, const NamedOperation& op,
                  KernelPath path) {
  if (ForceKernelPath(path) != RC_OK) {
    state.SkipWithError("path not available");
    return;
  }
  surfaces.Reset();
  for (auto _ : state) {
    op.run(surfaces);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * PixelsOf(op, surfaces.GetSize()));
  ForceKernelPath(BestKernelPath());
}

// BlurFrom by the direct method, which a blur of a surface into itself still uses.
void RunDirectBlur(benchmark::State& state, Surfaces& surfaces) {
  const Size size = surfaces.GetSize();
  const PixelRows dest{surfaces.DestBits(), size.width};
  const PixelRows source{surfaces.SourceBits(), size.width};
  const Rect work{0, 0, size.width, size.height};
  for (auto _ : state) {
    BlurDirect(dest, source, work, 8, 1);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * size.Pixels());
}

void RunMemcpy(benchmark::State& state, Surfaces& surfaces) {
  const size_t bytes = static_cast<size_t>(surfaces.GetSize().Pixels()) * 4;
  uint32_t* dest = surfaces.DestBits();
  const uint32_t* source = surfaces.SourceBits();
  for (auto _ : state) {
    std::memcpy(dest, source, bytes);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * surfaces.GetSize().Pixels());
}

void RunMemset(benchmark::State& state, Surfaces& surfaces) {
  const size_t bytes = static_cast<size_t>(surfaces.GetSize().Pixels()) * 4;
  uint32_t* dest = surfaces.DestBits();
  for (auto _ : state) {
    std::memset(dest, 0x5A, bytes);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * surfaces.GetSize().Pixels());
}

// The row kernels alone, on rows of kKernelRow pixels that stay in the first-level cache: what
// the arithmetic of each path costs without the memory. An operation whose kernel alone is
// below its floor is bound by the vector units, not by the memory.
constexpr int32_t kKernelRow = 2048;

struct KernelSlot {
  const char* op;
  RectRowKernel RowKernels::*rect = nullptr;
  BlitRowKernel RowKernels::*blit = nullptr;
  MaskRowKernel RowKernels::*mask = nullptr;
  KernelArgs args = {};
};

KernelArgs KernelColour(uint32_t colour, uint32_t weights = 0) {
  KernelArgs args;
  args.colour = pixel::ToPixelOrder(colour);
  args.weightRed = weights & 0xFF;
  args.weightGreen = (weights >> 8) & 0xFF;
  args.weightBlue = (weights >> 16) & 0xFF;
  args.dissolveColumns = 0xFFFF;
  args.maskKey = Surfaces::kMaskKey;
  return args;
}

// The kernels the operations of Operations() run, with the same arguments.
std::vector<KernelSlot> KernelSlots() {
  using R = RowKernels;
  const KernelArgs plain = KernelColour(0);
  return {
      {"FillRect", &R::fill, nullptr, nullptr, KernelColour(0x00123456)},
      {"MaskOrColor", &R::maskOrColor, nullptr, nullptr, KernelColour(0x00010000)},
      {"ScreenColor", &R::screenColor, nullptr, nullptr, KernelColour(0x00406080)},
      {"MultiplyColor", &R::multiplyColor, nullptr, nullptr, KernelColour(0x00FFC080)},
      {"GrayAverage", &R::grayAverage, nullptr, nullptr, plain},
      {"GrayWeighted", &R::grayWeighted, nullptr, nullptr, plain},
      {"Blt", nullptr, &R::copy, nullptr, plain},
      {"BltKeyed", nullptr, &R::copyKeyed, nullptr, KernelColour(Surfaces::kKeyArgument)},
      {"BltKeyedMesh", nullptr, &R::copyKeyedMesh, nullptr, KernelColour(Surfaces::kKeyArgument)},
      {"BltKeyedBlend", nullptr, &R::blendKeyed, nullptr,
       KernelColour(Surfaces::kKeyArgument, 0x806040)},
      {"BltMesh", nullptr, &R::copyMesh, nullptr, plain},
      {"BltMaskOr", nullptr, &R::maskOr, nullptr, plain},
      {"BltMultiply", nullptr, &R::multiply, nullptr, plain},
      {"BltBlendColor", nullptr, &R::blend, nullptr, KernelColour(0, 0x00406080)},
      {"BltMaskBlend", nullptr, nullptr, &R::maskBlend, plain},
      {"BltMaskMultiply", nullptr, nullptr, &R::maskMultiply, plain},
      {"BltMaskKey", nullptr, nullptr, &R::maskKey, plain},
  };
}

void RunKernel(benchmark::State& state, const KernelSlot& slot, KernelPath path) {
  if (ForceKernelPath(path) != RC_OK) {
    state.SkipWithError("path not available");
    return;
  }
  // On cache lines, as the surfaces' rows are.
  struct alignas(64) Row {
    uint32_t pixels[kKernelRow];
  };
  std::vector<Row> rows(3);
  std::mt19937 gen(kKernelRow);
  for (Row& row : rows) {
    for (uint32_t& p : row.pixels) p = static_cast<uint32_t>(gen()) & 0x00FFFFFF;
  }
  uint32_t* dest = rows[0].pixels;
  const uint32_t* source = rows[1].pixels;
  const uint32_t* mask = rows[2].pixels;
  const RowKernels& table = ActiveRowKernels();
  for (auto _ : state) {
    if (slot.rect != nullptr) KernelOf(table, slot.rect)(dest, kKernelRow, slot.args);
    if (slot.blit != nullptr) KernelOf(table, slot.blit)(dest, source, kKernelRow, 0, slot.args);
    if (slot.mask != nullptr) KernelOf(table, slot.mask)(dest, source, mask, kKernelRow, slot.args);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kKernelRow);
  ForceKernelPath(BestKernelPath());
}

void RegisterKernels() {
  for (const KernelSlot& slot : KernelSlots()) {
    for (int32_t p = 0; p <= static_cast<int32_t>(BestKernelPath()); ++p) {
      const auto path = static_cast<KernelPath>(p);
      const std::string name = std::string("kernel_") + slot.op + "/" + KernelPathName(path) + "/L1";
      benchmark::RegisterBenchmark(name.c_str(), RunKernel, slot, path);
    }
  }
}

// pixman images over the same pixels.
class PixmanImages {
 public:
  explicit PixmanImages(Surfaces& surfaces) : size_(surfaces.GetSize()) {
    const int stride = size_.width * 4;
    dest_ = pixman_image_create_bits(PIXMAN_a8r8g8b8, size_.width, size_.height,
                                     surfaces.DestBits(), stride);
    destOpaque_ = pixman_image_create_bits(PIXMAN_x8r8g8b8, size_.width, size_.height,
                                           surfaces.DestBits(), stride);
    source_ = pixman_image_create_bits(PIXMAN_a8r8g8b8, size_.width, size_.height,
                                       surfaces.SourceBits(), stride);
    const pixman_color_t half = {0x8000, 0x8000, 0x8000, 0x8000};
    constantMask_ = pixman_image_create_solid_fill(&half);
    destBits_ = surfaces.DestBits();
  }
  ~PixmanImages() {
    for (pixman_image_t* image : {dest_, destOpaque_, source_, constantMask_}) {
      pixman_image_unref(image);
    }
  }
  PixmanImages(const PixmanImages&) = delete;
  PixmanImages& operator=(const PixmanImages&) = delete;

  void Composite(pixman_op_t op, pixman_image_t* mask, pixman_image_t* dest) {
    pixman_image_composite32(op, source_, mask, dest, 0, 0, 0, 0, 0, 0, size_.width,
                             size_.height);
  }
  void Fill() {
    pixman_fill(destBits_, size_.width, 32, 0, 0, size_.width, size_.height, 0x00123456);
  }
  pixman_image_t* Dest() { return dest_; }
  pixman_image_t* DestOpaque() { return destOpaque_; }
  pixman_image_t* ConstantMask() { return constantMask_; }

 private:
  Size size_;
  pixman_image_t* dest_;
  pixman_image_t* destOpaque_;
  pixman_image_t* source_;
  pixman_image_t* constantMask_;
  uint32_t* destBits_;
};

void RunPixman(benchmark::State& state, Surfaces& surfaces,
               const std::function<void(PixmanImages&)>& run) {
  surfaces.Reset();
  PixmanImages images(surfaces);
  for (auto _ : state) {
    run(images);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * surfaces.GetSize().Pixels());
}

void RegisterAll(std::vector<std::unique_ptr<Surfaces>>& keep) {
  for (Size size : {Size{400, 300}, Size{800, 600}, Size{3840, 2160}}) {
    keep.push_back(std::make_unique<Surfaces>(size));
    Surfaces* s = keep.back().get();
    const std::string at = "/" + size.Name();
    benchmark::RegisterBenchmark(("memcpy" + at).c_str(), RunMemcpy, std::ref(*s));
    benchmark::RegisterBenchmark(("memset" + at).c_str(), RunMemset, std::ref(*s));
    const std::pair<const char*, std::function<void(PixmanImages&)>> pixman[] = {
        {"pixman_SRC", [](PixmanImages& p) { p.Composite(PIXMAN_OP_SRC, nullptr, p.Dest()); }},
        {"pixman_fill", [](PixmanImages& p) { p.Fill(); }},
        {"pixman_OVER_constant_mask",
         [](PixmanImages& p) { p.Composite(PIXMAN_OP_OVER, p.ConstantMask(), p.DestOpaque()); }},
        {"pixman_MULTIPLY",
         [](PixmanImages& p) { p.Composite(PIXMAN_OP_MULTIPLY, nullptr, p.Dest()); }},
        {"pixman_ADD", [](PixmanImages& p) { p.Composite(PIXMAN_OP_ADD, nullptr, p.Dest()); }},
    };
    for (const auto& [name, run] : pixman) {
      benchmark::RegisterBenchmark((std::string(name) + at).c_str(), RunPixman, std::ref(*s), run);
    }
    if (size.width <= 800) {
      benchmark::RegisterBenchmark(("BlurFrom_direct" + at).c_str(), RunDirectBlur, std::ref(*s));
    }
    for (const NamedOperation& op : Operations()) {
      for (int32_t p = 0; p <= static_cast<int32_t>(BestKernelPath()); ++p) {
        const auto path = static_cast<KernelPath>(p);
        const std::string name = std::string(op.name) + "/" + KernelPathName(path) + at;
        benchmark::RegisterBenchmark(name.c_str(), RunOperation, std::ref(*s), op, path);
      }
    }
  }
}

std::string CpuModel() {
  std::FILE* info = std::fopen("/proc/cpuinfo", "r");
  if (info == nullptr) return "unknown CPU";
  char line[512];
  std::string model = "unknown CPU";
  while (std::fgets(line, sizeof line, info) != nullptr) {
    if (std::strncmp(line, "model name", 10) == 0) {
      const char* colon = std::strchr(line, ':');
      model = colon != nullptr ? colon + 2 : line;
      model.erase(model.find_last_not_of(" \n") + 1);
      break;
    }
  }
  std::fclose(info);
  return model;
}

std::string CpuFeatures() {
  __builtin_cpu_init();
  std::string features;
  if (__builtin_cpu_supports("sse2")) features += " sse2";
  if (__builtin_cpu_supports("avx2")) features += " avx2";
  if (__builtin_cpu_supports("avx512f")) features += " avx512f";
  if (__builtin_cpu_supports("avx512bw")) features += " avx512bw";
  return features.empty() ? "none" : features.substr(1);
}

// The data and unified caches as CPUID's cache leaves describe them (leaf 4 on Intel, 0x8000001D
// on AMD), since a virtual machine's system may not list them: "L1d 48 KiB, L2 2048 KiB, ...".
std::string CacheSizes() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  __get_cpuid(0, &eax, &ebx, &ecx, &edx);
  const bool amd = ebx == 0x68747541;  // "Auth"
  const unsigned leaf = amd ? 0x8000001D : 4;
  std::string caches;
  const bool hasLeaf = __get_cpuid_max(leaf & 0x80000000, nullptr) >= leaf;
  for (unsigned index = 0; hasLeaf && index < 16; ++index) {
    __cpuid_count(leaf, index, eax, ebx, ecx, edx);
    const unsigned type = eax & 0x1F;  // 1 data, 2 instructions, 3 unified
    if (type == 0) break;
    if (type == 2) continue;
    const uint64_t bytes = uint64_t{(ebx >> 22) + 1} * (((ebx >> 12) & 0x3FF) + 1) *
                           ((ebx & 0xFFF) + 1) * (uint64_t{ecx} + 1);
    if (!caches.empty()) caches += ", ";
    caches += "L" + std::to_string((eax >> 5) & 7) + (type == 1 ? "d " : " ") +
              std::to_string(bytes / 1024) + " KiB";
  }
  // AMD's older leaves, for a CPU or virtual machine without the cache topology leaf.
  if (caches.empty() && amd && __get_cpuid_max(0x80000000, nullptr) >= 0x80000006) {
    __cpuid(0x80000005, eax, ebx, ecx, edx);
    caches = "L1d " + std::to_string(ecx >> 24) + " KiB";
    __cpuid(0x80000006, eax, ebx, ecx, edx);
    caches += ", L2 " + std::to_string(ecx >> 16) + " KiB";
    if ((edx >> 18) != 0) caches += ", L3 " + std::to_string((edx >> 18) * 512) + " KiB";
  }
  return caches.empty() ? "unknown" : caches;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::AddCustomContext("cpu", CpuModel());
  benchmark::AddCustomContext("cpu_features", CpuFeatures());
  benchmark::AddCustomContext("cache_sizes", CacheSizes());
  benchmark::AddCustomContext("best_kernel_path", KernelPathName(BestKernelPath()));
  benchmark::AddCustomContext("pixman", pixman_version_string());
  std::vector<std::unique_ptr<Surfaces>> surfaces;
  RegisterAll(surfaces);
  RegisterKernels();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
