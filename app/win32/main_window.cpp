#include "app/win32/main_window.h"

namespace {

void OnPaint(HWND window) {
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_CREATE:
    case WM_COMMAND:
      return 0;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

void RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kMainWindowClass;
  // Registration can only fail when the class exists already, which creation then reports.
  RegisterClassExA(&windowClass);
}

bool IsAnotherInstanceRunning() {
  return FindWindowA(kMainWindowClass, kMainWindowName) != nullptr;
}

HWND CreateMainWindow(HINSTANCE instance) {
  return CreateWindowExA(0, kMainWindowClass, kMainWindowName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                         0, CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
}
