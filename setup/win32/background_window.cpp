#include "background_window.h"

#include <commctrl.h>
#include <objbase.h>

#include "messages.h"

namespace setup::win32 {

namespace {

constexpr const char* kClassName = "Install";
constexpr COLORREF kBackground = RGB(0, 0, 80);

SetupProgram* programOf(HWND window) {
  return reinterpret_cast<SetupProgram*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void uninitialiseCom(SetupProgram& program) {
  if (program.comInitialised) CoUninitialize();
  program.comInitialised = false;
}

void onCreate(HWND window, SetupProgram& program) {
  program.comInitialised = SUCCEEDED(CoInitialize(nullptr));
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  program.brush.reset(CreateSolidBrush(kBackground));
  program.font.reset(CreateFontA(50, 25, 0, 0, 900, TRUE, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                 "arial"));
  program.host.setBackground(window);
  PostMessageA(window, WM_USER, 0, 0);
}

// The title with a dark shadow stepping down to the right.
void onPaint(HWND window, SetupProgram& program) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(program.brush.get()));
  HGDIOBJ oldFont = SelectObject(dc, program.font.get());
  SetBkColor(dc, kBackground);
  SetBkMode(dc, TRANSPARENT);
  if (Value name = program.interpreter.variable("SETUPNAME")) {
    const int length = static_cast<int>(name->size());
    SetTextColor(dc, RGB(0, 48, 80));
    TextOutA(dc, 12, 12, name->c_str(), length);
    SetTextColor(dc, RGB(16, 64, 80));
    TextOutA(dc, 10, 10, name->c_str(), length);
    SetTextColor(dc, RGB(48, 96, 160));
    TextOutA(dc, 8, 8, name->c_str(), length);
  }
  SelectObject(dc, oldFont);
  EndPaint(window, &paint);
}

void runScript(HWND window, SetupProgram& program) {
  std::optional<std::string> bytes = program.host.readFile("setup.ini");
  if (!bytes) {
    MessageBoxA(window, text::kNoScript, text::kSetupFileError, MB_OK);
    PostQuitMessage(-1);
    return;
  }
  ScriptText script(*bytes);
  Interpreter& interpreter = program.interpreter;
  interpreter.setScript(&script);
  program.running = true;
  interpreter.RunSection(window, interpreter.uninstallMode() ? "Uninstall" : "Setup");
  program.running = false;
  interpreter.setScript(nullptr);
  uninitialiseCom(program);
  PostQuitMessage(0);
}

LRESULT CALLBACK backgroundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  SetupProgram* program = programOf(window);
  if (program == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      onCreate(window, *program);
      return 0;
    case WM_USER:
      runScript(window, *program);
      return 0;
    case WM_PAINT:
      onPaint(window, *program);
      return 0;
    case WM_CLOSE:
      // Closed while the script runs: the installation ends after the
      // current command, and the program with it.
      if (program->running) {
        program->interpreter.abortInstallation();
        return 0;
      }
      break;
    case WM_DESTROY:
      uninitialiseCom(*program);
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool registerBackgroundClass(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = backgroundProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kClassName;
  return RegisterClassA(&windowClass) != 0;
}

HWND createBackgroundWindow(HINSTANCE instance, SetupProgram& program) {
  return CreateWindowExA(0, kClassName, "Setup", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, &program);
}

}  // namespace setup::win32
