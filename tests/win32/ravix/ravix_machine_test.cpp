// The control driving the machine double: launching, messages both ways,
// the events, the machine ending by itself, and the one machine a process
// runs at a time.
#include <gtest/gtest.h>

#include "machine_binding.h"
#include "ravix_support.h"
#include "test_site.h"

namespace ravix_test {
namespace {

class RavixMachine : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    report = testFolder().root + "report" + std::to_string(++counter) + ".txt";
    setMachineCommand(standardMachineCommand());
  }
  std::string command(const std::string& mode) const { return mode + " report=" + report; }
  std::vector<std::string> reported() const { return readLines(report); }
  bool wasReported(const std::string& line) const {
    for (const auto& l : reported()) {
      if (l == line) return true;
    }
    return false;
  }

  std::string report;
};

std::vector<DISPID> endMachineTwice() { return {ravix::kDispidEndMachine, ravix::kDispidEndMachine}; }

TEST_F(RavixMachine, LaunchRaisesEndMachineTwiceAndMessagesGoBothWays) {
  ComPtr<IVoxa> control = createControl();
  RecordingSink sink;
  connect(control.Get(), sink);
  BstrVariable commandLine(command("run").c_str());
  long result = -7;
  ASSERT_EQ(control->LaunchMachine(commandLine.get(), 5, 1024, &result), S_OK);
  EXPECT_EQ(result, 0);
  ASSERT_EQ(sink.ids(), endMachineTwice());
  for (const Event& event : sink.events) {
    EXPECT_EQ(event.type, VT_I4);
    EXPECT_EQ(event.number, 16);
    EXPECT_EQ(event.arguments, 1u);
    EXPECT_EQ(event.namedArguments, 0u);
    EXPECT_EQ(event.locale, 0x400u);
    EXPECT_EQ(event.flags, DISPATCH_METHOD);
  }
  EXPECT_EQ(reported().at(0), "launch 0 0 cmd=" + command("run") + " show=5 0 mem=1024 window=(null) callback=yes");
  EXPECT_TRUE(wasReported("end callback"));

  sink.events.clear();
  BstrVariable hello("hello");
  EXPECT_EQ(control->SendMessage(hello.get(), &result), S_OK);
  EXPECT_TRUE(wasReported("send hello"));
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].id, ravix::kDispidMessage);
  EXPECT_EQ(sink.events[0].type, VT_BYREF | VT_BSTR);
  EXPECT_EQ(sink.events[0].text, "hello");
  // The machine's answer is the HRESULT, failures included.
  BstrVariable failing("return -5");
  EXPECT_EQ(control->SendMessage(failing.get(), &result), -5);
  EXPECT_EQ(result, -5);
  BstrVariable none(nullptr);
  EXPECT_EQ(control->SendMessage(none.get(), &result), S_OK);
  EXPECT_TRUE(wasReported("send (null)"));
  EXPECT_EQ(control->SendMessage(nullptr, &result), S_OK);

  control.Reset();
  EXPECT_TRUE(wasReported("end machine 0"));
  // Idle again: a new control launches.
  ComPtr<IVoxa> next = createControl();
  EXPECT_EQ(next->LaunchMachine(commandLine.get(), 5, 1024, &result), S_OK);
}

TEST_F(RavixMachine, RefusedLaunchRaisesOneEventAndLeavesTheMachineIdle) {
  ComPtr<IVoxa> control = createControl();
  RecordingSink sink;
  connect(control.Get(), sink);
  BstrVariable commandLine(command("refuse").c_str());
  long result = -7;
  EXPECT_EQ(control->LaunchMachine(commandLine.get(), 1, 0, &result), S_FALSE);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(sink.ids(), std::vector<DISPID>{ravix::kDispidEndMachine});
  BstrVariable hello("hello");
  EXPECT_EQ(control->SendMessage(hello.get(), &result), S_FALSE);
  EXPECT_FALSE(wasReported("end callback"));
  EXPECT_FALSE(wasReported("send hello"));
  // Idle: the next launch is tried.
  BstrVariable run(command("run").c_str());
  EXPECT_EQ(control->LaunchMachine(run.get(), 1, 0, &result), S_OK);
}

TEST_F(RavixMachine, NullCommandLineReachesTheMachineAsANullPointer) {
  ComPtr<IVoxa> control = createControl();
  BstrVariable none(nullptr);
  long result = 0;
  EXPECT_EQ(control->LaunchMachine(none.get(), 1, 0, &result), S_OK);
  control.Reset();
  control = createControl();
  EXPECT_EQ(control->LaunchMachine(nullptr, 1, 0, &result), S_OK);
}

TEST_F(RavixMachine, ASecondControlIsRefusedWhileTheFirstOnesMachineRuns) {
  ComPtr<IVoxa> first = createControl();
  ComPtr<IVoxa> second = createControl();
  RecordingSink firstSink, secondSink;
  connect(first.Get(), firstSink);
  connect(second.Get(), secondSink);
  BstrVariable commandLine(command("run").c_str());
  long result = 0;
  ASSERT_EQ(first->LaunchMachine(commandLine.get(), 1, 0, &result), S_OK);
  EXPECT_EQ(second->LaunchMachine(commandLine.get(), 1, 0, &result), S_FALSE);
  EXPECT_TRUE(secondSink.events.empty());
  // Either control reaches the one machine; its messages go to the first.
  BstrVariable hello("from the second");
  EXPECT_EQ(second->SendMessage(hello.get(), &result), S_OK);
  ASSERT_EQ(firstSink.events.size(), 3u);
  EXPECT_EQ(firstSink.events[2].text, "from the second");
  EXPECT_TRUE(secondSink.events.empty());
  second.Reset();
  EXPECT_FALSE(wasReported("end machine 0"));
  EXPECT_EQ(first->LaunchMachine(commandLine.get(), 1, 0, &result), S_FALSE);
  first.Reset();
  EXPECT_TRUE(wasReported("end machine 0"));
}

TEST_F(RavixMachine, MachineEndingByItselfShowsTheBoxThenRaisesEndMachine) {
  ComPtr<IVoxa> control = createControl();
  RecordingSink sink;
  connect(control.Get(), sink);
  BstrVariable commandLine(command("end").c_str());
  long result = 0;
  ASSERT_EQ(control->LaunchMachine(commandLine.get(), 1, 0, &result), S_OK);
  {
    BoxRobot robot;
    BstrVariable bye("bye");
    EXPECT_EQ(control->SendMessage(bye.get(), &result), S_OK);
    std::vector<Box> boxes = robot.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "End");
    EXPECT_EQ(boxes[0].text, "End!!");
    EXPECT_EQ(boxes[0].owner, nullptr);
  }
  EXPECT_EQ(sink.ids(), (std::vector<DISPID>{ravix::kDispidEndMachine, ravix::kDispidEndMachine,
                                             ravix::kDispidMessage, ravix::kDispidEndMachine}));
  // Still running as far as the control knows.
  EXPECT_EQ(control->LaunchMachine(commandLine.get(), 1, 0, &result), S_FALSE);
  BstrVariable again("again");
  EXPECT_EQ(control->SendMessage(again.get(), &result), S_OK);
  EXPECT_TRUE(wasReported("send again"));
}

TEST_F(RavixMachine, SinksMayDisconnectWhileAnEventIsRaised) {
  ComPtr<IVoxa> control = createControl();
  RecordingSink leaving, staying;
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(control.As(&container), S_OK);
  ASSERT_EQ(container->FindConnectionPoint(ravix::kDiidVoxaEvents, &point), S_OK);
  DWORD leavingCookie = 0, stayingCookie = 0;
  ASSERT_EQ(point->Advise(&leaving, &leavingCookie), S_OK);
  ASSERT_EQ(point->Advise(&staying, &stayingCookie), S_OK);
  leaving.onEvent = [&] { point->Unadvise(leavingCookie); };
  BstrVariable commandLine(command("run").c_str());
  long result = 0;
  ASSERT_EQ(control->LaunchMachine(commandLine.get(), 1, 0, &result), S_OK);
  EXPECT_EQ(leaving.ids(), std::vector<DISPID>{ravix::kDispidEndMachine});
  EXPECT_EQ(staying.ids(), endMachineTwice());
}

TEST_F(RavixMachine, SendMessageWhileIdleDoesNotCallTheMachine) {
  ComPtr<IVoxa> control = createControl();
  BstrVariable hello("hello");
  long result = 0;
  EXPECT_EQ(control->SendMessage(hello.get(), &result), S_FALSE);
  EXPECT_EQ(result, 1);
}

// A container's advise sink that holds the control, as a page's may.
class HoldingSink final : public IAdviseSink {
 public:
  explicit HoldingSink(IUnknown* control) : control_(control) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = iid == IID_IUnknown || iid == IID_IAdviseSink ? this : nullptr;
    if (*out == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override {}
  void STDMETHODCALLTYPE OnViewChange(DWORD, LONG) override {}
  void STDMETHODCALLTYPE OnRename(IMoniker*) override {}
  void STDMETHODCALLTYPE OnSave() override {}
  void STDMETHODCALLTYPE OnClose() override {}

 private:
  ComPtr<IUnknown> control_;
  ULONG references_ = 1;
};

// Close lets go of the view sink and the OLE sinks: the control, released by
// its container, goes, its machine ends, and the process can launch again.
TEST_F(RavixMachine, CloseLetsGoOfSinksThatHoldTheControl) {
  TestSite site;
  {
    ComPtr<IVoxa> control = createControl();
    ComPtr<IOleObject> object;
    ComPtr<IViewObject> view;
    ASSERT_EQ(control.As(&object), S_OK);
    ASSERT_EQ(control.As(&view), S_OK);
    ASSERT_EQ(object->SetClientSite(&site), S_OK);
    auto* viewSink = new HoldingSink(control.Get());
    ASSERT_EQ(view->SetAdvise(DVASPECT_CONTENT, 0, viewSink), S_OK);
    viewSink->Release();
    auto* oleSink = new HoldingSink(control.Get());
    DWORD cookie = 0;
    ASSERT_EQ(object->Advise(oleSink, &cookie), S_OK);
    oleSink->Release();
    BstrVariable commandLine(command("run").c_str());
    long result = 0;
    ASSERT_EQ(control->LaunchMachine(commandLine.get(), 1, 0, &result), S_OK);

    EXPECT_EQ(object->Close(OLECLOSE_SAVEIFDIRTY), S_OK);
    EXPECT_EQ(site.saves, 0) << "a clean control is not saved";
    SIZEL size{1234, 567};
    ASSERT_EQ(object->SetExtent(DVASPECT_CONTENT, &size), S_OK);
    EXPECT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_EQ(site.saves, 0);
    EXPECT_EQ(object->Close(OLECLOSE_SAVEIFDIRTY), S_OK);
    EXPECT_EQ(site.saves, 1) << "a dirty control asks its site to save it";
    object->SetClientSite(nullptr);
  }
  EXPECT_TRUE(wasReported("end machine 0")) << "the control was not released";
  ComPtr<IVoxa> next = createControl();
  BstrVariable commandLine(command("run").c_str());
  long result = 0;
  EXPECT_EQ(next->LaunchMachine(commandLine.get(), 1, 0, &result), S_OK);
}

WNDPROC originalProc = nullptr;
LRESULT CALLBACK replacementProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(originalProc, window, message, wParam, lParam);
}

TEST_F(RavixMachine, InPlaceLaunchHandsOverTheWindowAndRestoresTheParentAtTheEnd) {
  TestSite site;
  ComPtr<IVoxa> control = createControl();
  ComPtr<IOleObject> object;
  ASSERT_EQ(control.As(&object), S_OK);
  ASSERT_EQ(object->SetClientSite(&site), S_OK);
  ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, site.host(), &site.position), S_OK);
  ComPtr<IOleWindow> oleWindow;
  ASSERT_EQ(control.As(&oleWindow), S_OK);
  HWND window = nullptr;
  ASSERT_EQ(oleWindow->GetWindow(&window), S_OK);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);

  BstrVariable commandLine(command("run").c_str());
  long result = 0;
  ASSERT_EQ(control->LaunchMachine(commandLine.get(), 1, 0, &result), S_OK);
  EXPECT_EQ(reported().at(0), "launch 0 0 cmd=" + command("run") + " show=1 0 mem=0 window=" + className +
                                  " callback=yes");
  // The machine may subclass the page's window; the control puts it back.
  WNDPROC before = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(site.host(), GWLP_WNDPROC));
  originalProc = before;
  SetWindowLongPtrA(site.host(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacementProc));
  object->Close(OLECLOSE_NOSAVE);
  object->SetClientSite(nullptr);
  object.Reset();
  oleWindow.Reset();
  control.Reset();
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(site.host(), GWLP_WNDPROC)), before);
}

}  // namespace
}  // namespace ravix_test
