// The baselines of the viewer's start-up benchmark under Wine: the least a
// Win32 program does to show a window of the viewer's size and paint it once,
// and with --text the same window painting one page of text (20 lines of 20
// kanji and kana in IPAGothic, as the GTK baseline paints them). --framed
// paints the text in the viewer's frame: its class styles and icon, the
// client edge and a vertical scroll bar with a range, all of which Wine draws.
#include <windows.h>

namespace {

constexpr int WIDTH = 660;  // px, the viewer's default window
constexpr int HEIGHT = 449;
constexpr int LINES = 20;
constexpr const wchar_t* LINE = L"祖父が亡くなって三月ほど経った頃、私は駅裏の貸";
bool with_text = false;

LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      // The font is made before anything is painted, as the viewer makes its
      // fonts before its first frame.
      HFONT font = with_text ? CreateFontW(-18, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                           DEFAULT_QUALITY, DEFAULT_PITCH, L"IPAGothic")
                             : nullptr;
      HBRUSH brush = CreateSolidBrush(RGB(0, 0, 128));
      FillRect(dc, &ps.rcPaint, brush);
      DeleteObject(brush);
      if (font) {
        HGDIOBJ old = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        for (int i = 0; i < LINES; ++i) TextOutW(dc, 0, 20 * i, LINE, lstrlenW(LINE));
        SelectObject(dc, old);
        DeleteObject(font);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int show) {
  const bool framed = lstrcmpW(command_line, L"--framed") == 0;
  with_text = framed || lstrcmpW(command_line, L"--text") == 0;
  WNDCLASSEXW c{};
  c.cbSize = sizeof c;
  c.lpfnWndProc = window_proc;
  c.hInstance = instance;
  c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  if (framed) {
    c.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_BYTEALIGNWINDOW | CS_OWNDC;
    c.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  }
  c.lpszClassName = L"MinimalWindow";
  if (!RegisterClassExW(&c)) return 1;
  const DWORD style = framed ? WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_VSCROLL
                             : WS_OVERLAPPEDWINDOW;
  HWND hwnd = CreateWindowExW(framed ? WS_EX_CLIENTEDGE : 0, c.lpszClassName, L"Minimal", style,
                              CW_USEDEFAULT, 0, WIDTH, HEIGHT, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  if (framed) {
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    bar.nMax = 1000;
    bar.nPage = 100;
    SetScrollInfo(hwnd, SB_VERT, &bar, FALSE);
  }
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
