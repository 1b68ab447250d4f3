// Plays the library's transitions on an 800 x 600 window at 60 frames a second and shows in
// its corner how long each frame takes to draw and to present. With --frames it stops by itself, and --save
// keeps chosen frames as BMP files (see show_options.h).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frame_clock.h"
#include "gfx/bmp_file.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "show_options.h"
#include "transition_show.h"

namespace {

constexpr char kWindowClass[] = "ZorvelTransitionDemo";
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameMs = 1000 / 60;
constexpr int kFramesPerReport = 15;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

class TransitionDemo {
 public:
  explicit TransitionDemo(ShowOptions options) : options_(std::move(options)) {}

  // The window, the display on it and the pictures; a message for the user when it fails.
  bool Start(HINSTANCE instance, std::string* error);
  int ExitCode() const { return exitCode_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool OpenDisplay(std::string* error);
  bool LoadPictures(std::string* error);
  Surface32* NewScreenSurface(int32_t width);
  void OnTimer();
  void UpdateTimes(const char* transition);
  void DrawTimes();
  void Fail(int code);

  ShowOptions options_;
  HWND window_ = nullptr;
  Display display_;
  ShowInputs inputs_{};
  FrameClock clock_;
  int32_t frame_ = 0;
  int exitCode_ = 0;
  char times_[128] = "";
};

bool TransitionDemo::Start(HINSTANCE instance, std::string* error) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExA(&windowClass);
  RECT frame{0, 0, kScreenWidth, kScreenHeight};
  AdjustWindowRect(&frame, kWindowStyle, FALSE);
  window_ = CreateWindowExA(0, kWindowClass, "Transitions", kWindowStyle, CW_USEDEFAULT, 0,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            instance, this);
  if (!window_) {
    *error = "cannot make the window";
    return false;
  }
  if (!OpenDisplay(error) || !LoadPictures(error)) return false;
  ShowWindow(window_, SW_SHOW);
  SetTimer(window_, kFrameTimer, kFrameMs, nullptr);
  return true;
}

bool TransitionDemo::OpenDisplay(std::string* error) {
  DisplayDesc desc{};
  desc.size = kDisplayDescSize;
  desc.width = kScreenWidth;
  desc.height = kScreenHeight;
  desc.bitDepth = Display::kBitsPerPixel;
  desc.window = WindowToDesc(window_);
  if (display_.Open(&desc) != RC_OK) {
    *error = "cannot open the display";
    return false;
  }
  return true;
}

Surface32* TransitionDemo::NewScreenSurface(int32_t width) {
  Surface32* surface = display_.CreateSurface32(Display::kHeapKind);
  if (surface && surface->Create(width, kScreenHeight) == RC_OK) return surface;
  return nullptr;
}

bool TransitionDemo::LoadPictures(std::string* error) {
  for (int i = 0; i < 2; ++i) {
    inputs_.pictures[i] = NewScreenSurface(kScreenWidth);
    const ResultCode rc = inputs_.pictures[i]
                              ? LoadBmp(options_.pictures[i].c_str(), inputs_.pictures[i])
                              : RC_NO_MEMORY;
    if (rc != RC_OK) {
      *error = "cannot load " + options_.pictures[i] + " (code " + std::to_string(rc) +
               "); the pictures must be 800 x 600 BMP files";
      return false;
    }
  }
  inputs_.wipeMask = NewScreenSurface(kWipeMaskWidth);
  if (!inputs_.wipeMask || PaintWipeMask(inputs_.wipeMask) != RC_OK) {
    *error = "cannot make the wipe's mask";
    return false;
  }
  return true;
}

// One frame: draw, present, keep it when asked, stop after the last one.
void TransitionDemo::OnTimer() {
  const char* transition = "";
  const LONGLONG start = clock_.Now();
  const ResultCode drawn =
      DrawShowFrame(inputs_, frame_, display_.GetPrimarySurface(), &transition);
  const LONGLONG drawEnd = clock_.Now();
  display_.Present(nullptr);
  clock_.Add(start, drawEnd, clock_.Now());
  if (clock_.Frames() == kFramesPerReport) UpdateTimes(transition);
  DrawTimes();

  if (drawn != RC_OK) return Fail(drawn);
  if (options_.Saves(frame_)) {
    const std::string path = options_.FramePath(frame_);
    if (SaveBmp(path.c_str(), display_.GetPrimarySurface(), 24, BmpRows::kBottomUp) != RC_OK)
      return Fail(3);
  }
  if (++frame_ == options_.frames) DestroyWindow(window_);
}

void TransitionDemo::UpdateTimes(const char* transition) {
  std::snprintf(times_, sizeof times_, "%s: drawing %.2f ms, presenting %.2f ms a frame",
                transition, clock_.DrawMs(), clock_.PresentMs());
  clock_.Reset();
}

// On the window, over the presented frame: the saved frames stay the library's alone.
void TransitionDemo::DrawTimes() {
  const HDC dc = display_.DeviceContext();
  if (!dc || times_[0] == '\0') return;
  SetBkColor(dc, RGB(0, 0, 0));
  SetTextColor(dc, RGB(255, 255, 255));
  TextOutA(dc, 8, 8, times_, static_cast<int>(std::strlen(times_)));
}

void TransitionDemo::Fail(int code) {
  exitCode_ = code;
  DestroyWindow(window_);
}

LRESULT CALLBACK TransitionDemo::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* demo = reinterpret_cast<TransitionDemo*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_TIMER:
      if (demo) demo->OnTimer();
      return 0;
    case WM_PAINT:
      if (demo) demo->display_.Paint();
      else ValidateRect(window, nullptr);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kFrameTimer);
      PostQuitMessage(demo ? demo->exitCode_ : 0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  ShowOptions options;
  if (!ParseShowOptions(__argc, __argv, ProgramFolder(), &options)) {
    MessageBoxA(nullptr,
                "usage: transition [--frames N] [--save FOLDER] [--at F,F,...] [--every K] "
                "[FROM.bmp TO.bmp]",
                "Transitions", MB_ICONERROR);
    return 2;
  }
  TransitionDemo demo(options);
  std::string error;
  if (!demo.Start(instance, &error)) {
    // A run that stops by itself is unattended: no box waits for a click.
    if (options.frames == 0) MessageBoxA(nullptr, error.c_str(), "Transitions", MB_ICONERROR);
    std::fprintf(stderr, "transition: %s\n", error.c_str());
    return 1;
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return demo.ExitCode();
}
