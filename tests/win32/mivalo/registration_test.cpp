// The frame of Mivalo.dll: the package's 56 entries in order, the
// load export's answer, InitEvents, the COM report, and the nil-argument
// path of every primitive.
#include <regex>

#include "mivalo_fixture.h"

namespace mivalotest {
namespace {

struct Expected {
  const char* name;
  int args;
  const char* type;
};

// The package's table, entry by entry.
const Expected kTable[] = {
    {"DS", -3, nullptr},
    {"DSBuffer", -3, nullptr},
    {"DSListener3D", -3, nullptr},
    {"_InitDirectSound", 5, "fun [I I I I ObjWin] DS"},
    {"_ReleaseDirectSound", 1, "fun [DS] I"},
    {"_CRSoundBuffer", 6, "fun [DS I I I I I] DSBuffer"},
    {"_DUPSoundBuffer", 2, "fun [DS DSBuffer] DSBuffer"},
    {"_DSSoundBuffer", 1, "fun [DSBuffer] I"},
    {"_PLAYSoundBuffer", 2, "fun [DSBuffer I] DSBuffer"},
    {"_STOPSoundBuffer", 1, "fun [DSBuffer] DSBuffer"},
    {"_SETVolume", 2, "fun [DSBuffer I] DSBuffer"},
    {"_SETFrequency", 2, "fun [DSBuffer I] DSBuffer"},
    {"_SETPan", 2, "fun [DSBuffer I] DSBuffer"},
    {"_GETVolume", 1, "fun [DSBuffer] I"},
    {"_GETFrequency", 1, "fun [DSBuffer] I"},
    {"_GETPan", 1, "fun [DSBuffer] I"},
    {"_SETSoundBuffer", 3, "fun [DSBuffer S I] DSBuffer"},
    {"_GETPlayPosition", 1, "fun [DSBuffer] I"},
    {"_GETWritePosition", 1, "fun [DSBuffer] I"},
    {"_SETPlayPosition", 2, "fun [DSBuffer I] DSBuffer"},
    {"_CRSoundBuffer3D", 6, "fun [DS I I I I I] DSBuffer"},
    {"_SETMinDistance", 2, "fun [DSBuffer F] DSBuffer"},
    {"_SETMaxDistance", 2, "fun [DSBuffer F] DSBuffer"},
    {"_SETOperationMode", 2, "fun [DSBuffer I] DSBuffer"},
    {"_SETPosition3D", 4, "fun [DSBuffer F F F] DSBuffer"},
    {"_SETVelocity3D", 4, "fun [DSBuffer F F F] DSBuffer"},
    {"_SETConeAngles", 3, "fun [DSBuffer I I] DSBuffer"},
    {"_SETConeOrientation", 4, "fun [DSBuffer F F F] DSBuffer"},
    {"_SETConeOutsideVolume", 2, "fun [DSBuffer I] DSBuffer"},
    {"_GETMinDistance", 1, "fun [DSBuffer] F"},
    {"_GETMaxDistance", 1, "fun [DSBuffer] F"},
    {"_GETOperationMode", 1, "fun [DSBuffer] I"},
    {"_GETPosition3D", 1, "fun [DSBuffer] [F F F]"},
    {"_GETVelocity3D", 1, "fun [DSBuffer] [F F F]"},
    {"_GETConeAngles", 1, "fun [DSBuffer] [I I]"},
    {"_GETConeOrientation", 1, "fun [DSBuffer] [F F F]"},
    {"_GETConeOutsideVolume", 1, "fun [DSBuffer] I"},
    {"_CRListener3D", 1, "fun [DS] DSListener3D"},
    {"_DSListener3D", 1, "fun [DSListener3D] I"},
    {"_SETDistanceFactor", 2, "fun [DSListener3D F] DSListener3D"},
    {"_SETDopplerFactor", 2, "fun [DSListener3D F] DSListener3D"},
    {"_SETRollOffFactor", 2, "fun [DSListener3D F] DSListener3D"},
    {"_SETListenerPosition3D", 4, "fun [DSListener3D F F F] DSListener3D"},
    {"_SETListenerVelocity3D", 4, "fun [DSListener3D F F F] DSListener3D"},
    {"_SETListenerOrientation", 7, "fun [DSListener3D F F F F F F] DSListener3D"},
    {"_GETDistanceFactor", 1, "fun [DSListener3D] F"},
    {"_GETDopplerFactor", 1, "fun [DSListener3D] F"},
    {"_GETRollOffFactor", 1, "fun [DSListener3D] F"},
    {"_GETListenerPosition3D", 1, "fun [DSListener3D] [F F F]"},
    {"_GETListenerVelocity3D", 1, "fun [DSListener3D] [F F F]"},
    {"_GETListenerOrientation3D", 1, "fun [DSListener3D] [[F F F ] [F F F]]"},
    {"_COMMITSoundSettings", 1, "fun [DSListener3D] I"},
    {"_CRSoundStream", 3, "fun [DS P I] DSStream"},
    {"_STOPSoundStream", 1, "fun [DSStream] DSStream"},
    {"_GETwaveData", 1, "fun [P] S"},
    {"_GETwaveInfo", 1, "fun [P] [I I I I]"},
};

TEST(MivaloRegistration, RegistersTheFiftySixEntriesInOrder) {
  TestMachine machine;
  ASSERT_TRUE(machine.loadPlugin("Mivalo.dll")) << machine.lastError();
  ASSERT_EQ(machine.packages().size(), 1u);
  const TestMachine::Package& package = machine.packages()[0];
  EXPECT_EQ(package.name, "Mivalo.pkd");
  ASSERT_EQ(package.entries.size(), 56u);
  for (size_t k = 0; k < 56; ++k) {
    const TestMachine::Entry& entry = package.entries[k];
    const Expected& expected = kTable[k];
    SCOPED_TRACE(::testing::Message() << "entry " << k << " " << expected.name);
    EXPECT_EQ(entry.name, expected.name);
    EXPECT_EQ(entry.argCount, expected.args);
    if (expected.type == nullptr) {
      EXPECT_TRUE(entry.opaque);
      EXPECT_EQ(entry.function, nullptr);
      EXPECT_EQ(entry.type, "");
    } else {
      EXPECT_FALSE(entry.opaque);
      EXPECT_NE(entry.function, nullptr);
      EXPECT_EQ(entry.type, expected.type);
    }
  }
  EXPECT_TRUE(machine.faults().empty()) << machine.faults().front();
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
