// The frame of Mivalo.dll: the package's 56 entries in order, the
// load export's answer, InitEvents, the COM report, and the nil-argument
// path of every primitive.
#include <regex>

#include "mivalo_fixture.h"

namespace mivalotest {
namespace {

const TestMachine::Entry* entryNamed(const TestMachine::Package& package, const std::string& name) {
  for (const TestMachine::Entry& entry : package.entries) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

// Every entry is checked by the machine as it registers (names unique, an
// opaque type without function or type string, a function and a type
// string whose parameters agree with the argument count); here, the count,
// the order's ends and the types the machine's programs rely on.
TEST(MivaloRegistration, RegistersTheFiftySixEntriesInOrder) {
  TestMachine machine;
  ASSERT_TRUE(machine.loadPlugin("Mivalo.dll")) << machine.lastError();
  ASSERT_EQ(machine.packages().size(), 1u);
  const TestMachine::Package& package = machine.packages()[0];
  EXPECT_EQ(package.name, "Mivalo.pkd");
  ASSERT_EQ(package.entries.size(), 56u);
  EXPECT_TRUE(machine.faults().empty()) << machine.faults().front();
  for (size_t k = 0; k < 3; ++k) EXPECT_TRUE(package.entries[k].opaque) << k;
  EXPECT_EQ(package.entries[0].name, "DS");
  EXPECT_EQ(package.entries[1].name, "DSBuffer");
  EXPECT_EQ(package.entries[2].name, "DSListener3D");
  EXPECT_EQ(package.entries[3].name, "_InitDirectSound");
  EXPECT_EQ(package.entries[55].name, "_GETwaveInfo");
  const std::pair<const char*, const char*> types[] = {
      {"_InitDirectSound", "fun [I I I I ObjWin] DS"},
      {"_CRSoundBuffer", "fun [DS I I I I I] DSBuffer"},
      {"_SETListenerOrientation", "fun [DSListener3D F F F F F F] DSListener3D"},
      {"_GETListenerOrientation3D", "fun [DSListener3D] [[F F F ] [F F F]]"},
      {"_CRSoundStream", "fun [DS P I] DSStream"},
      {"_GETwaveInfo", "fun [P] [I I I I]"},
  };
  for (const auto& [name, type] : types) {
    const TestMachine::Entry* entry = entryNamed(package, name);
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_EQ(entry->type, type) << name;
  }
}

TEST(MivaloRegistration, AnswersTheRegistrationsResultAndInitialisesOle) {
  TestMachine machine;
  machine.setRegisterResult(-7);
  ASSERT_TRUE(machine.loadPlugin("Mivalo.dll")) << machine.lastError();
  EXPECT_EQ(machine.loadResult(), -7);
  // OleInitialize's result is reported whatever it is (S_OK the first time
  // on this thread, S_FALSE afterwards).
  const std::vector<std::string> lines = machine.logLines();
  ASSERT_EQ(lines.size(), 1u);
  const std::regex report(R"(COM registration\.cpp \(\d+\): (.*))");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(lines[0], match, report)) << lines[0];
  EXPECT_TRUE(match[1] == systemText(S_OK) || match[1] == systemText(S_FALSE)) << lines[0];
}

TEST(MivaloRegistration, InitEventsHandsOutACallbackThatDoesNothing) {
  TestMachine machine;
  ASSERT_TRUE(machine.loadPlugin("Mivalo.dll")) << machine.lastError();
  machine.clearLog();
  using Callback = int(__cdecl*)();
  using InitEvents = int(__cdecl*)(HWND, Callback*);
  auto init = reinterpret_cast<InitEvents>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("Mivalo.dll"), "InitEvents")));
  ASSERT_NE(init, nullptr);
  Callback callback = nullptr;
  HWND host = GetDesktopWindow();
  EXPECT_EQ(init(host, &callback), 0);
  ASSERT_NE(callback, nullptr);
  EXPECT_EQ(callback(), 0);
  char expected[128];
  std::snprintf(expected, sizeof expected, "DLL AXFUN: %x",
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(callback)));
  EXPECT_EQ(machine.logLines(), std::vector<std::string>{expected});
  // The host window is kept: a nil window object means that window.
  machine.clearLog();
  const VmValue device =
      machine.call("_InitDirectSound", {I(2), I(22050), I(16), I(1), kNil}).value;
  ASSERT_NE(device, kNil);
  const unsigned h = static_cast<unsigned>(reinterpret_cast<uintptr_t>(host));
  std::snprintf(expected, sizeof expected,
                "Setting coop level with window handler %x (hvoxa=%x) and level 1...", h, h);
  bool seen = false;
  for (const std::string& line : machine.logLines()) {
    seen |= line == expected;
    EXPECT_EQ(line.find("Good window handler"), std::string::npos) << line;
  }
  EXPECT_TRUE(seen);
  EXPECT_EQ(machine.call("_ReleaseDirectSound", {device}).value, I(1));
  init(nullptr, &callback);
}

class MivaloFrame : public MivaloTest {};

// Every primitive with a nil first argument: nil, no DirectSound call (so no
// COM report), nothing left on the stack but the result.
TEST_F(MivaloFrame, ANilFirstArgumentGivesNil) {
  const TestMachine::Package& package = machine->packages()[0];
  for (const TestMachine::Entry& entry : package.entries) {
    if (entry.opaque) continue;
    SCOPED_TRACE(entry.name);
    std::vector<VmValue> args{kNil};
    // The others are well-formed values of their types.
    const char* type = entry.type.c_str();
    std::string params(type + 5, entry.type.find(']') - 5);
    for (size_t at = params.find(' '); at != std::string::npos; at = params.find(' ', at + 1)) {
      const char kind = params[at + 1];
      args.push_back(kind == 'F'                  ? F(1.0f)
                     : kind == 'S' || kind == 'P' ? S("x.wav")
                     : kind == 'O'                ? window
                                                  : I(1));
    }
    ASSERT_EQ(static_cast<int>(args.size()), entry.argCount);
    machine->clearLog();
    const size_t depth = machine->stackDepth();
    const TestMachine::CallResult r = machine->call(entry.name, args);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.value, kNil);
    EXPECT_EQ(machine->stackDepth(), depth);
    if (entry.name == "_STOPSoundStream") {
      EXPECT_EQ(log(), std::vector<std::string>{"Stream: ffffffff"});
    } else {
      EXPECT_TRUE(log().empty()) << log().front();
    }
  }
}

// The COM report after a success and after a failure, with the system's
// text; where the system has none, the fallback texts.
TEST_F(MivaloFrame, ReportsEveryComCallWithTheSystemsText) {
  const VmValue device = openDevice(1);
  ASSERT_NE(device, kNil);
  const std::vector<std::string> reports = logLinesStarting("COM ");
  ASSERT_EQ(reports.size(), 3u);  // CoCreateInstance, Initialize, SetCooperativeLevel
  const std::regex success(R"(COM device\.cpp \(\d+\): )" + systemText(S_OK));
  for (const std::string& line : reports) EXPECT_TRUE(std::regex_match(line, success)) << line;
  EXPECT_EQ(systemText(S_OK).empty(), false);

  // A refused buffer: DirectSound answers DSERR_INVALIDPARAM for no length.
  machine->clearLog();
  EXPECT_EQ(call("_CRSoundBuffer", {device, I(1), I(22050), I(16), I(0), I(0)}), kNil);
  const std::vector<std::string> failure = logLinesStarting("COM ");
  ASSERT_EQ(failure.size(), 1u);
  EXPECT_TRUE(std::regex_match(failure[0], std::regex(R"(COM buffers\.cpp \(\d+\): .+)")))
      << failure[0];
  EXPECT_EQ(failure[0].substr(failure[0].find("): ") + 3), systemText(DSERR_INVALIDPARAM));
  EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(1));
}

}  // namespace
}  // namespace mivalotest
