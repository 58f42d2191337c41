// Browser windows told by their class small icon, found and closed, and the
// question before closing them. Wine answers class data of another
// process's window with nothing, so the browser windows here belong to the
// test's own process, each on a thread of its own, and the installer runs
// in process with the program's own resources.
#include <gtest/gtest.h>

#include <vector>

#include "close_browsers.h"
#include "common/win32/handles.h"
#include "common/win32/registry_tree.h"
#include "installer_flow.h"
#include "nandor_run.h"

namespace nandor::testing {
namespace {

using Picture = std::vector<unsigned char>;

Picture storedPicture(const char* name) {
  HRSRC found = FindResourceA(nullptr, name, "ICONS");
  auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)));
  return Picture(bytes, bytes + SizeofResource(nullptr, found));
}

// A top-level window whose class small icon shows picture, scale times
// larger, served by a thread of its own; it takes 300 ms to close.
class BrowserWindow {
 public:
  BrowserWindow(Picture picture, int scale) : picture_(std::move(picture)), scale_(scale) {
    thread_.reset(CreateThread(nullptr, 0, run, this, 0, nullptr));
    WaitForSingleObject(ready_.get(), 5000);
  }
  ~BrowserWindow() {
    if (alive()) PostMessageA(window_, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_.get(), 5000);
  }
  bool alive() const { return IsWindow(window_) != FALSE; }

 private:
  HICON makeIcon() const {
    int side = 16 * scale_;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, side, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    win::UniqueGdiObject colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* pixels = static_cast<unsigned char*>(bits);
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        for (int c = 0; c < 3; ++c) {
          pixels[(y * side + x) * 3 + c] = picture_[((y / scale_) * 16 + x / scale_) * 3 + c];
        }
      }
    }
    win::UniqueGdiObject mask(CreateBitmap(side, side, 1, 1, nullptr));
    ICONINFO parts{TRUE, 0, 0, static_cast<HBITMAP>(mask.get()), static_cast<HBITMAP>(colour.get())};
    return CreateIconIndirect(&parts);
  }

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
      Sleep(300);
      DestroyWindow(window);
      return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
  }

  static DWORD WINAPI run(void* self) {
    auto* browser = static_cast<BrowserWindow*>(self);
    static int classes = 0;
    std::string className = "NandorTestBrowser" + std::to_string(++classes);
    HICON icon = browser->makeIcon();
    WNDCLASSEXA type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = procedure;
    type.hInstance = GetModuleHandleA(nullptr);
    type.hIcon = icon;
    type.hIconSm = icon;
    type.lpszClassName = className.c_str();
    RegisterClassExA(&type);
    browser->window_ = CreateWindowExA(0, type.lpszClassName, "Browser", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                       nullptr, nullptr, type.hInstance, nullptr);
    SetEvent(browser->ready_.get());
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    UnregisterClassA(type.lpszClassName, type.hInstance);
    DestroyIcon(icon);
    return 0;
  }

  Picture picture_;
  int scale_;
  HWND window_ = nullptr;
  win::UniqueHandle ready_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  win::UniqueHandle thread_;
};

const std::string kCloseQuestion =
    "L'installation de KEBO n\xe9" "cessite la fermeture de vos browsers.\nCliquez sur Ok pour effectuer cette "
    "fermeture automatiquement et lancer l'installation.";
const std::string kCloseQuestionUninstall =
    "La d\xe9sinstallation de KEBO n\xe9" "cessite la fermeture de vos browsers.\nCliquez sur Ok pour effectuer "
    "cette fermeture automatiquement et lancer la d\xe9sinstallation.";

std::vector<std::string> boxTexts(const std::vector<SeenWindow>& windows) {
  RunResult result;
  result.windows = windows;
  return result.boxTexts();
}

TEST(NandorBrowsersTest, WithoutABrowserWindowNothingIsFound) {
  EXPECT_FALSE(closeBrowsers(BrowserAction::findOnly));
}

TEST(NandorBrowsersTest, ABrowserWindowIsFoundThenClosedAndItsProcessAwaited) {
  BrowserWindow browser(storedPicture("NETSCAPE304"), 1);
  ASSERT_TRUE(browser.alive());
  EXPECT_TRUE(closeBrowsers(BrowserAction::findOnly));
  EXPECT_TRUE(browser.alive());
  DWORD start = GetTickCount();
  EXPECT_TRUE(closeBrowsers(BrowserAction::close));
  // Its process (this one) never ends: the whole 4000 ms were waited.
  EXPECT_GE(GetTickCount() - start, 3900u);
  EXPECT_FALSE(browser.alive());
}

TEST(NandorBrowsersTest, EachByteMayDifferByFifteenButNoMore) {
  Picture shifted = storedPicture("IEXPLORE40");
  for (unsigned char& byte : shifted) byte = static_cast<unsigned char>(byte >= 128 ? byte - 15 : byte + 15);
  {
    BrowserWindow browser(shifted, 1);
    EXPECT_TRUE(closeBrowsers(BrowserAction::findOnly));
  }
  shifted[500] = static_cast<unsigned char>(shifted[500] >= 128 ? shifted[500] - 1 : shifted[500] + 1);
  BrowserWindow browser(shifted, 1);
  EXPECT_FALSE(closeBrowsers(BrowserAction::findOnly));
}

TEST(NandorBrowsersTest, ASmallIconOfAnotherSizeIsNoBrowser) {
  BrowserWindow browser(storedPicture("IEXPLORE302"), 2);
  EXPECT_FALSE(closeBrowsers(BrowserAction::findOnly));
}

TEST(NandorBrowsersTest, DecliningToCloseTheBrowsersChangesNothingAndEndsWithZero) {
  BrowserWindow browser(storedPicture("NETSCAPE404"), 1);
  auto decline = [](const SeenWindow& seen) {
    if (seen.messageBox) click(seen.window, IDCANCEL);
    return seen.messageBox;
  };
  for (const char* commandLine : {"*dD:\\Kebo *i0 *l0", "/Uninstall"}) {
    WindowRobot robot(GetCurrentProcessId(), decline);
    EXPECT_EQ(runInstaller(commandLine), 0);
    std::vector<SeenWindow> seen = robot.stop();
    bool uninstall = commandLine[0] == '/';
    EXPECT_EQ(boxTexts(seen), std::vector<std::string>{uninstall ? kCloseQuestionUninstall : kCloseQuestion});
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().title, uninstall ? "KEBO - D\xe9sinstallation" : "KEBO - Installation");
  }
  EXPECT_TRUE(browser.alive());
  EXPECT_FALSE(exists("D:\\Kebo"));
  EXPECT_FALSE(registryKeyExists("Software\\KEBO"));
}

TEST(NandorBrowsersTest, AfterOkTheBrowsersAreClosedBeforeTheUninstallation) {
  BrowserWindow browser(storedPicture("NETSCAPE404"), 1);
  bool closedFirst = false;
  WindowRobot robot(GetCurrentProcessId(), [&](const SeenWindow& seen) {
    if (GetDlgItem(seen.window, 1005) != nullptr) closedFirst = !browser.alive();
    return false;
  });
  // Nothing to find on the disks: result 4, without a message.
  EXPECT_EQ(runInstaller("/Uninstall"), 1);
  EXPECT_EQ(boxTexts(robot.stop()), std::vector<std::string>{kCloseQuestionUninstall});
  EXPECT_TRUE(closedFirst);
}

}  // namespace
}  // namespace nandor::testing
