// The control in place in a container site: its window, painting through
// the draw routine, the clip rectangle, the property frame, focus, keyboard
// and the boxes of IOleControl.
#include <gtest/gtest.h>
#include <olectl.h>

#include <cctype>

#include "ravix_support.h"
#include "test_site.h"

namespace ravix_test {
namespace {

void pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

bool isGeneratedClassName(const std::string& name) {
  if (name.size() != 12 || name.rfind("ATL:", 0) != 0) return false;
  for (char c : name.substr(4)) {
    if (!std::isxdigit(static_cast<unsigned char>(c)) || std::islower(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

struct InPlace {
  explicit InPlace(TestSite& site) : control(createControl()) {
    control.As(&object);
    object->SetClientSite(&site);
    activated = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, site.host(), &site.position);
    ComPtr<IOleWindow> oleWindow;
    control.As(&oleWindow);
    oleWindow->GetWindow(&window);
  }
  ~InPlace() {
    if (!object) return;
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
  }
  ComPtr<IVoxa> control;
  ComPtr<IOleObject> object;
  HRESULT activated = E_FAIL;
  HWND window = nullptr;
};

TEST(RavixInPlace, ActivationCreatesTheChildWindowOfItsOwnClass) {
  TestSite site;
  InPlace inPlace(site);
  ASSERT_EQ(inPlace.activated, S_OK);
  ASSERT_NE(inPlace.window, nullptr);
  EXPECT_EQ(GetParent(inPlace.window), site.host());
  EXPECT_EQ(site.inPlaceActivations, 1);
  LONG style = GetWindowLongA(inPlace.window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_TRUE(style & WS_VISIBLE);
  char name[64] = {};
  GetClassNameA(inPlace.window, name, sizeof name);
  EXPECT_TRUE(isGeneratedClassName(name)) << name;
  EXPECT_EQ(GetClassLongA(inPlace.window, GCL_STYLE), static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW));
  EXPECT_EQ(GetClassLongPtrA(inPlace.window, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(inPlace.window, GCLP_HCURSOR)), LoadCursor(nullptr, IDC_ARROW));
  RECT rect{};
  GetWindowRect(inPlace.window, &rect);
  EXPECT_EQ(rect.right - rect.left, 200);
  EXPECT_EQ(rect.bottom - rect.top, 100);

  // A second control gets a window of the same class.
  InPlace other(site);
  char otherName[64] = {};
  GetClassNameA(other.window, otherName, sizeof otherName);
  EXPECT_STREQ(otherName, name);

  inPlace.object->Close(OLECLOSE_NOSAVE);
  EXPECT_FALSE(IsWindow(inPlace.window));

  // A control released while in place takes its window with it.
  HWND otherWindow = other.window;
  other.object->SetClientSite(nullptr);
  other.object.Reset();
  other.control.Reset();
  EXPECT_FALSE(IsWindow(otherWindow));
}

TEST(RavixInPlace, PaintingAsksForUiActivationAndTellsTheSite) {
  TestSite site;
  InPlace inPlace(site);
  ASSERT_EQ(inPlace.activated, S_OK);
  pumpMessages();
  int changes = site.controlInfoChanges;
  EXPECT_GE(changes, 1);
  EXPECT_EQ(site.uiActivations, 1);
  EXPECT_EQ(GetFocus(), inPlace.window);
  InvalidateRect(inPlace.window, nullptr, TRUE);
  UpdateWindow(inPlace.window);
  EXPECT_EQ(site.controlInfoChanges, changes + 1);
  EXPECT_EQ(site.uiActivations, 1);
  // Erased with the window colour, and nothing drawn over it.
  HDC dc = GetDC(inPlace.window);
  EXPECT_EQ(GetPixel(dc, 50, 50), GetSysColor(COLOR_WINDOW));
  ReleaseDC(inPlace.window, dc);

  ComPtr<IViewObject> view;
  ASSERT_EQ(inPlace.control.As(&view), S_OK);
  HDC screen = GetDC(nullptr);
  RECTL bounds{0, 0, 50, 50};
  EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, screen, &bounds, nullptr, nullptr, 0), S_OK);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(site.controlInfoChanges, changes + 2);
}

TEST(RavixInPlace, FocusIsReportedToTheSite) {
  TestSite site;
  InPlace inPlace(site);
  ASSERT_EQ(inPlace.activated, S_OK);
  pumpMessages();
  site.focus.clear();
  SetFocus(site.host());
  SetFocus(inPlace.window);
  EXPECT_EQ(site.focus, (std::vector<BOOL>{FALSE, TRUE}));
}

TEST(RavixInPlace, TabReturnAndBackspaceGoToTheSiteOtherKeysStay) {
  TestSite site;
  InPlace inPlace(site);
  ComPtr<IOleInPlaceActiveObject> active;
  ASSERT_EQ(inPlace.control.As(&active), S_OK);
  for (UINT message : {0x100u, 0x101u, 0x102u, 0x108u}) {  // key down, key up, character, the last
    for (WPARAM key : {VK_TAB, VK_RETURN, VK_BACK}) {
      MSG msg{inPlace.window, message, key, 0x1234, 0, {}};
      EXPECT_EQ(active->TranslateAccelerator(&msg), S_OK) << message << " " << key;
    }
  }
  ASSERT_EQ(site.translated.size(), 12u);
  EXPECT_EQ(site.translated[0].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(site.translated[0].lParam, 0x1234);
  for (DWORD modifier : site.modifiers) EXPECT_EQ(modifier, 0u);
  site.translated.clear();
  MSG other{inPlace.window, WM_KEYDOWN, 'A', 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&other), S_FALSE);
  MSG escape{inPlace.window, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&escape), S_FALSE);
  MSG outside{inPlace.window, 0x109, VK_TAB, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&outside), S_FALSE);
  MSG mouse{inPlace.window, WM_LBUTTONDOWN, VK_TAB, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&mouse), S_FALSE);
  EXPECT_TRUE(site.translated.empty());

  TestSite plainSite(false);
  InPlace withoutControlSite(plainSite);
  ComPtr<IOleInPlaceActiveObject> plainActive;
  ASSERT_EQ(withoutControlSite.control.As(&plainActive), S_OK);
  MSG tab{withoutControlSite.window, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_EQ(plainActive->TranslateAccelerator(&tab), S_FALSE);
}

TEST(RavixInPlace, ControlInfoAndMnemonicShowTheirBoxesFirst) {
  TestSite site;
  InPlace inPlace(site);
  ASSERT_EQ(inPlace.activated, S_OK);
  pumpMessages();
  ComPtr<IOleControl> control;
  ASSERT_EQ(inPlace.control.As(&control), S_OK);
  BoxRobot robot;
  CONTROLINFO info{};
  ASSERT_EQ(control->GetControlInfo(&info), S_OK);
  EXPECT_EQ(info.cb, 16u);
  EXPECT_EQ(info.cAccel, 1);
  EXPECT_EQ(info.dwFlags, static_cast<DWORD>(CTRLINFO_EATS_RETURN | CTRLINFO_EATS_ESCAPE));
  ASSERT_NE(info.hAccel, nullptr);
  ACCEL entry{};
  ASSERT_EQ(CopyAcceleratorTableA(info.hAccel, &entry, 1), 1);
  EXPECT_EQ(entry.key, VK_BACK);
  EXPECT_EQ(entry.cmd, 0x8000);
  EXPECT_EQ(entry.fVirt, FVIRTKEY | FNOINVERT);

  MSG mnemonic{inPlace.window, WM_SYSKEYDOWN, 'V', 0x20000001, 0, {}};
  ASSERT_EQ(control->OnMnemonic(&mnemonic), S_OK);
  std::vector<Box> boxes = robot.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  // Owned by the control's window, which as a child hands the ownership to
  // its top-level window: the container's.
  EXPECT_EQ(boxes[0].title, "MSG");
  EXPECT_EQ(boxes[0].text, "GetInfo");
  EXPECT_EQ(boxes[0].owner, site.host());
  EXPECT_EQ(boxes[1].title, "MSG");
  EXPECT_EQ(boxes[1].text, "OnMnemonic");
  EXPECT_EQ(boxes[1].owner, site.host());
  MSG posted{};
  ASSERT_TRUE(PeekMessageA(&posted, inPlace.window, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE));
  EXPECT_EQ(posted.wParam, static_cast<WPARAM>('V'));
  EXPECT_EQ(posted.lParam, 0x20000001);
  EXPECT_EQ(control->OnAmbientPropertyChange(DISPID_UNKNOWN), S_OK);
  EXPECT_EQ(control->FreezeEvents(TRUE), S_OK);
}

// Only the part of the window inside the clip rectangle shows.
TEST(RavixInPlace, TheWindowIsClippedToTheClipRectangle) {
  TestSite site;
  InPlace inPlace(site);
  ASSERT_EQ(inPlace.activated, S_OK);
  ComPtr<IOleInPlaceObject> object;
  ASSERT_EQ(inPlace.control.As(&object), S_OK);
  const RECT position{10, 20, 210, 120};
  const RECT clip{60, 0, 500, 100};
  ASSERT_EQ(object->SetObjectRects(&position, &clip), S_OK);
  RECT region{};
  EXPECT_EQ(GetWindowRgnBox(inPlace.window, &region), SIMPLEREGION);
  EXPECT_EQ(region.left, 50);
  EXPECT_EQ(region.top, 0);
  EXPECT_EQ(region.right, 200);
  EXPECT_EQ(region.bottom, 80);
  ASSERT_EQ(object->SetObjectRects(&position, &position), S_OK);
  EXPECT_EQ(GetWindowRgnBox(inPlace.window, &region), ERROR) << "a whole window keeps no region";
}

// The property frame's title, and the frame closed, from a timer of the
// test's thread: the frame's own message loop runs it, and only its own
// thread can take the frame down.
std::string frameTitle;
BOOL CALLBACK closeFrame(HWND window, LPARAM) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  frameTitle = text;
  DestroyWindow(window);
  return FALSE;
}
void CALLBACK onFrameTimer(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), closeFrame, 0);
}

TEST(RavixInPlace, ThePropertiesVerbShowsThePropertyFrame) {
  TestSite site;
  InPlace inPlace(site);
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, onFrameTimer);
  EXPECT_EQ(inPlace.object->DoVerb(OLEIVERB_PROPERTIES, nullptr, &site, 0, site.host(), nullptr), S_OK);
  KillTimer(nullptr, timer);
  EXPECT_NE(frameTitle.find("Voxa"), std::string::npos) << "no property frame was shown";
}

}  // namespace
}  // namespace ravix_test
