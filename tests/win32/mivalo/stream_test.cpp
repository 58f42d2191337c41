// Sound streaming with real DirectSound: the first fill, the
// refills of the half not playing, what the play cursor passes over (every
// data byte loops + 1 times, then silence), loops 0, 2 and -1 with seamless
// joins,
// _STOPSoundStream, the failure paths, and the stream's fate: its thread
// ends, its record is freed, its buffer, event, file and device reference
// are given back, and its value stays harmless.
#include <cstdio>

#include "mivalo_fixture.h"
#include "recording_device.h"
#include "wave_writer.h"

namespace mivalotest {
namespace {

constexpr DWORD kBufferBytes = 32768;
constexpr DWORD kHalf = 16384;

std::string hex(VmValue v) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(v));
  return text;
}

// What a stream's writes must hold: the data played loops + 1 times, then
// silence.
std::string expectedSequence(const std::string& data, int loops, size_t length) {
  std::string s;
  for (int k = 0; k <= loops; ++k) s += data;
  if (s.size() < length) s.append(length - s.size(), '\0');
  s.resize(length);
  return s;
}

class MivaloStream : public MivaloTest {
 protected:
  void SetUp() override {
    MivaloTest::SetUp();
    device = openDevice(2, 2, 44100, 16);
    ASSERT_NE(device, kNil);
    recorder = new RecordingDevice(deviceOf(device));
    machine->clearLog();
    threadsBefore = threadCount();
  }
  void TearDown() override {
    // No stream may outlive the machine whose log it writes to.
    for (VmValue s : streams) call("_STOPSoundStream", {s});
    EXPECT_TRUE(waitForLog("Stopped.", stopped(), 5000)) << "a stream did not stop";
    EXPECT_TRUE(waitForThreads(threadsBefore))
        << "a stream thread is still running: " << threadCount() << " threads, " << threadsBefore
        << " before";
    EXPECT_EQ(recorder->references(), 1u);
    EXPECT_EQ(recorder->liveBuffers(), 0);
    recorder->Release();
    EXPECT_EQ(call("_ReleaseDirectSound", {device}), I(1));
    MivaloTest::TearDown();
  }
  VmValue recorderValue() {
    return static_cast<VmValue>(reinterpret_cast<uintptr_t>(static_cast<IDirectSound*>(recorder)));
  }
  // A mono 16-bit file at 44100 Hz: 16384 bytes last about 0.19 s.
  std::string waveFile(const std::string& data, const std::string& trailing = "") {
    WaveLayout layout;
    layout.samplesPerSec = 44100;
    layout.data = data;
    layout.trailing = trailing;
    return tempFile(waveBytes(layout));
  }
  VmValue stream(VmValue on, const std::string& path, int loops) {
    const VmValue s = call("_CRSoundStream", {on, S(path), I(loops)});
    if (s != kNil) streams.push_back(s);
    return s;
  }
  // Streams whose end is expected: those made, less those that failed to
  // set up (they log no "Stopped.").
  int stopped() const { return static_cast<int>(streams.size()) - aborted; }

  // The writes after the first fill, each with the play cursor read before.
  struct Refill {
    DWORD cursor;
    DWORD offset;
    std::string data;
  };
  std::vector<Refill> refills(const std::vector<BufferEvent>& events) {
    std::vector<Refill> out;
    DWORD cursor = 0;
    bool first = true;
    for (const BufferEvent& e : events) {
      if (e.kind == BufferEvent::Position) cursor = e.offset;
      if (e.kind != BufferEvent::Write) continue;
      if (first) {
        first = false;
        continue;
      }
      out.push_back({cursor, e.offset, e.data});
    }
    return out;
  }
  std::string allWrites(const std::vector<BufferEvent>& events) {
    std::string s;
    for (const BufferEvent& e : events) {
      if (e.kind == BufferEvent::Write) s += e.data;
    }
    return s;
  }
  int count(const std::vector<BufferEvent>& events, BufferEvent::Kind kind) {
    int n = 0;
    for (const BufferEvent& e : events) n += e.kind == kind ? 1 : 0;
    return n;
  }
  // Every refill went to the half the cursor was not in, whole.
  void expectHalvesNotPlaying(const std::vector<Refill>& list) {
    for (const Refill& r : list) {
      EXPECT_EQ(r.offset, r.cursor <= kHalf ? kHalf : 0u) << "cursor " << r.cursor;
      EXPECT_EQ(r.data.size(), kHalf);
    }
  }
  // The play cursor passed over every byte of the data loops + 1 times, then
  // over silence only.
  void expectHeard(const std::string& data, int loops) {
    const std::string played = heard(recorder->events(), kBufferBytes);
    const size_t whole = data.size() * static_cast<size_t>(loops + 1);
    ASSERT_GE(played.size(), whole) << "the stream stopped before its data had played";
    EXPECT_TRUE(played == expectedSequence(data, loops, played.size()))
        << "what was heard is not the data " << loops + 1 << " times, then silence";
  }
  bool waitForRefills(size_t n, int timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    while (refills(recorder->events()).size() < n) {
      if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
      Sleep(10);
    }
    return true;
  }

  VmValue device = kNil;
  RecordingDevice* recorder = nullptr;
  std::vector<VmValue> streams;
  int aborted = 0;
  int threadsBefore = 0;
};

// A file whose data ends inside the first fill, and one whose data ends
// in a refill: each is heard whole, the LIST chunk after the data never.
// (No SCOPED_TRACE: it starts a thread of its own, which the thread count
// would see.)
TEST_F(MivaloStream, EveryDataByteIsHeardThenSilenceThenTheStreamStops) {
  const std::string trailing = chunk("LIST", std::string(100, 'L'));
  for (int size : {20000, 70002}) {
    RecordingDevice* old = recorder;
    recorder = new RecordingDevice(deviceOf(device));
    recorder->followCursor = true;
    old->Release();
    machine->clearLog();
    const std::string data = countingSamples(size);
    const std::string path = waveFile(data, trailing);
    const VmValue s = stream(recorderValue(), path, 0);
    ASSERT_NE(s, kNil) << size;
    ASSERT_TRUE(waitForLog("Stopped.")) << size;
    EXPECT_TRUE(waitForThreads(threadsBefore)) << size;
    expectHeard(data, 0);

    const std::vector<BufferEvent> events = recorder->events();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0].kind, BufferEvent::Lock);
    EXPECT_EQ(events[0].bytes, kBufferBytes);
    expectHalvesNotPlaying(refills(events));
    EXPECT_EQ(count(events, BufferEvent::Play), 1);
    EXPECT_EQ(count(events, BufferEvent::Stop), 1);
    EXPECT_EQ(events.back().kind, BufferEvent::Released);
    EXPECT_EQ(events.back().realLeft, 0u);

    std::vector<std::string> story;
    for (const std::string& line : log()) {
      if (line.compare(0, 4, "COM ") != 0) story.push_back(line);
    }
    const std::string bounds = "StartPos: 44   EndPos: " + std::to_string(44 + size) + " ";
    EXPECT_EQ(story, (std::vector<std::string>{bounds, "Stream: " + hex(s), "origin pos in file: 44",
                                               "Stop.", "Stopped."}));
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "the stream left its file open";
    streams.clear();  // ended, and checked
  }
}

TEST_F(MivaloStream, TwoLoopsPlayTheDataThreeTimesWithSeamlessJoins) {
  const std::string data = countingSamples(40000);
  recorder->followCursor = true;
  const VmValue s = stream(recorderValue(), waveFile(data), 2);
  ASSERT_NE(s, kNil);
  ASSERT_TRUE(waitForLog("Stopped.", 1, 10000));
  expectHeard(data, 2);

  const std::vector<BufferEvent> events = recorder->events();
  const std::vector<Refill> list = refills(events);
  // 3 x 40000 bytes need the first fill and 6 refills.
  ASSERT_GE(list.size(), 6u);
  expectHalvesNotPlaying(list);
  const std::string writes = allWrites(events);
  EXPECT_TRUE(writes == expectedSequence(data, 2, writes.size()))
      << "the writes are not the data three times";
  // The half that crosses the end: the last bytes of the data, then its
  // first bytes.
  EXPECT_EQ(list[0].data, data.substr(32768) + data.substr(0, 49152 - 40000));
  EXPECT_EQ(count(events, BufferEvent::Stop), 1);
}

// A file cut short of the size its data chunk claims: the data ends where
// the file does, and the loop joins there.
TEST_F(MivaloStream, ATruncatedFileLoopsOnWhatItHas) {
  const std::string data = countingSamples(30000);
  WaveLayout layout;
  layout.samplesPerSec = 44100;
  layout.data = data + std::string(10000, 'x');
  std::string bytes = waveBytes(layout);
  bytes.resize(44 + data.size());
  const VmValue s = stream(recorderValue(), tempFile(bytes), 1);
  ASSERT_NE(s, kNil);
  EXPECT_EQ(countLog("StartPos: 44   EndPos: 30044 "), 1);
  ASSERT_TRUE(waitForLog("Stopped.", 1, 10000));
  const std::string writes = allWrites(recorder->events());
  EXPECT_TRUE(writes == expectedSequence(data, 1, writes.size()))
      << "the loop does not join at the file's end";
}

TEST(MivaloHandles, TheHandleCountSeesHandles) {
  const int before = openHandleCount();
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  EXPECT_EQ(openHandleCount(), before + 1);
  CloseHandle(event);
  EXPECT_EQ(openHandleCount(), before);
}

TEST_F(MivaloStream, EndlessLoopsRunUntilStopped) {
  const std::string data = countingSamples(30000);
  const VmValue s = stream(recorderValue(), waveFile(data), -1);
  ASSERT_NE(s, kNil);
  ASSERT_TRUE(waitForRefills(8));
  EXPECT_EQ(countLog("Stop."), 0);
  const DWORD asked = GetTickCount();
  machine->clearLog();
  EXPECT_EQ(call("_STOPSoundStream", {s}), s);
  EXPECT_EQ(countLog("Stream: " + hex(s)), 1);
  ASSERT_TRUE(waitForLog("Stopped.", 1, 3000));
  EXPECT_LT(GetTickCount() - asked, 1500u) << "the stop took more than about a second";
  EXPECT_TRUE(waitForThreads(threadsBefore));

  const std::vector<BufferEvent> events = recorder->events();
  const std::string writes = allWrites(events);
  std::string repeated;
  while (repeated.size() < writes.size()) repeated += data;
  repeated.resize(writes.size());
  EXPECT_TRUE(writes == repeated) << "the writes are not the data repeated";
  expectHalvesNotPlaying(refills(events));
}

TEST_F(MivaloStream, PlaysOnTheRealDeviceAndGivesEverythingBack) {
  const std::string path = waveFile(countingSamples(50000));
  const int handlesBefore = openHandleCount();
  const VmValue s = stream(device, path, -1);
  ASSERT_NE(s, kNil);
  // Playing: the file is open, the thread runs.
  EXPECT_FALSE(DeleteFileA(path.c_str()));
  EXPECT_EQ(threadCount(), threadsBefore + 1);
  ASSERT_TRUE(waitForLog("COM stream_thread.cpp", 0));
  Sleep(400);
  EXPECT_EQ(countLog("Stop."), 0);
  EXPECT_EQ(call("_STOPSoundStream", {s}), s);
  ASSERT_TRUE(waitForLog("Stopped.", 1, 3000));
  EXPECT_TRUE(waitForThreads(threadsBefore));
  EXPECT_EQ(openHandleCount(), handlesBefore) << "the stream left handles open";
  EXPECT_TRUE(DeleteFileA(path.c_str())) << "the stream left its file open";
  // Every call the thread made was reported, successes included.
  for (const std::string& line : logLinesStarting("COM stream_thread.cpp")) {
    EXPECT_NE(line.find(systemText(S_OK)), std::string::npos) << line;
  }
  EXPECT_GE(logLinesStarting("COM stream_thread.cpp").size(), 6u);
}

TEST_F(MivaloStream, StoppingNilTouchesNoStream) {
  const VmValue s = stream(recorderValue(), waveFile(countingSamples(60000)), -1);
  ASSERT_NE(s, kNil);
  machine->clearLog();
  EXPECT_EQ(call("_STOPSoundStream", {kNil}), kNil);
  EXPECT_EQ(log(), std::vector<std::string>{"Stream: ffffffff"});
  const size_t before = refills(recorder->events()).size();
  ASSERT_TRUE(waitForRefills(before + 2));
  EXPECT_EQ(countLog("Stop."), 0);
}

// The slot of a stream that has ended is the only free one when the next
// stream starts: the old value names the slot, not the new stream.
TEST_F(MivaloStream, AValueWhoseThreadHasEndedIsHarmless) {
  const VmValue ended = stream(recorderValue(), waveFile(countingSamples(1000)), 0);
  ASSERT_NE(ended, kNil);
  const std::string path = waveFile(countingSamples(60000));
  for (int k = 0; k < 63; ++k) ASSERT_NE(stream(recorderValue(), path, -1), kNil) << "stream " << k;
  ASSERT_TRUE(waitForLog("Stopped."));
  EXPECT_EQ(call("_STOPSoundStream", {ended}), ended);

  const VmValue playing = stream(recorderValue(), path, -1);
  ASSERT_NE(playing, kNil);
  EXPECT_NE(playing, ended);
  EXPECT_EQ(call("_STOPSoundStream", {ended}), ended);
  Sleep(1500);
  EXPECT_EQ(countLog("Stop."), 1) << "the old value stopped a stream";
}

// A machine that loads the package means the one before has ended: the
// streams of that one write nothing more and end. The first machine then
// loads the package again, for the rest of the test.
TEST_F(MivaloStream, AStreamWhoseMachineHasEndedWritesNothingAndEnds) {
  const VmValue s = stream(recorderValue(), waveFile(countingSamples(60000)), -1);
  ASSERT_NE(s, kNil);
  ++aborted;  // it logs no "Stopped."
  ASSERT_TRUE(waitForRefills(2));
  {
    TestMachine next;
    ASSERT_TRUE(next.loadPlugin("Mivalo.dll", "VOXAloadMivalo")) << next.lastError();
    next.clearLog();
    EXPECT_TRUE(waitForThreads(threadsBefore)) << "the stream outlived its machine";
    Sleep(200);
    EXPECT_EQ(next.logLines(), std::vector<std::string>{}) << "the stream wrote to the next machine";
    EXPECT_EQ(recorder->liveBuffers(), 0);
  }
  ASSERT_TRUE(machine->loadPlugin("Mivalo.dll", "VOXAloadMivalo"));
  EXPECT_EQ(call("_STOPSoundStream", {s}), s);
}

// A record is freed when its thread ends: more streams than there are
// record slots come and go, and each gets one.
TEST_F(MivaloStream, EveryThreadFreesItsRecord) {
  const std::string path = waveFile(countingSamples(2000));
  const int handlesBefore = openHandleCount();
  int made = 0;
  for (int batch = 0; batch < 5; ++batch) {
    for (int k = 0; k < 16; ++k) {
      const VmValue s = stream(recorderValue(), path, 0);
      ASSERT_NE(s, kNil) << "stream " << made;
      ++made;
    }
    ASSERT_TRUE(waitForLog("Stopped.", made, 10000)) << "after " << made << " streams";
  }
  EXPECT_EQ(made, 80);
  EXPECT_TRUE(waitForThreads(threadsBefore));
  EXPECT_EQ(recorder->liveBuffers(), 0);
  EXPECT_EQ(openHandleCount(), handlesBefore) << "the streams left handles open";
  EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST_F(MivaloStream, SixtyFourStreamsAtOnceAtMost) {
  const std::string path = waveFile(countingSamples(60000));
  for (int k = 0; k < 64; ++k) ASSERT_NE(stream(recorderValue(), path, -1), kNil) << "stream " << k;
  EXPECT_EQ(call("_CRSoundStream", {recorderValue(), S(path), I(-1)}), kNil);
  for (VmValue s : streams) call("_STOPSoundStream", {s});
  ASSERT_TRUE(waitForLog("Stopped.", 64, 10000));
  EXPECT_NE(stream(recorderValue(), path, 0), kNil);
}

TEST_F(MivaloStream, WithoutTheNotificationInterfaceTheThreadEndsCleanly) {
  recorder->refuseNotify = true;
  const std::string path = waveFile(countingSamples(50000));
  const VmValue s = stream(recorderValue(), path, 0);
  ASSERT_NE(s, kNil);
  ++aborted;
  ASSERT_TRUE(waitForLog("Query interface aborted"));
  ASSERT_TRUE(waitForThreads(threadsBefore));
  EXPECT_EQ(recorder->liveBuffers(), 0);
  EXPECT_EQ(count(recorder->events(), BufferEvent::Play), 0);
  EXPECT_TRUE(DeleteFileA(path.c_str())) << "the file was left open";
  EXPECT_EQ(countLog("Stopped."), 0);
  EXPECT_EQ(call("_STOPSoundStream", {s}), s);
}

TEST_F(MivaloStream, WhenNotificationsCannotBeSetTheThreadEndsCleanly) {
  recorder->setNotifyFailure = DSERR_INVALIDPARAM;
  const std::string path = waveFile(countingSamples(50000));
  const VmValue s = stream(recorderValue(), path, 0);
  ASSERT_NE(s, kNil);
  ++aborted;
  ASSERT_TRUE(waitForLog("Notification aborted"));
  ASSERT_TRUE(waitForThreads(threadsBefore));
  EXPECT_EQ(recorder->liveBuffers(), 0);
  EXPECT_TRUE(DeleteFileA(path.c_str())) << "the file was left open";
  EXPECT_EQ(countLog("Stopped."), 0);
}

TEST_F(MivaloStream, ARefusedBufferGivesNil) {
  recorder->createFailure = DSERR_BUFFERLOST;
  const std::string path = waveFile(countingSamples(1000));
  EXPECT_EQ(stream(recorderValue(), path, 0), kNil);
  const std::vector<std::string> reports = logLinesStarting("COM ");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].substr(reports[0].find("): ") + 3), "Unknown error 0x88780096");
  EXPECT_EQ(countLog("Could not create the sound buffer."), 1);
  EXPECT_EQ(threadCount(), threadsBefore);
  EXPECT_TRUE(DeleteFileA(path.c_str())) << "the file was left open";
}

TEST_F(MivaloStream, BadArgumentsAndFilesGiveNil) {
  EXPECT_EQ(call("_CRSoundStream", {kNil, S("x.wav"), I(0)}), kNil);
  EXPECT_EQ(call("_CRSoundStream", {device, kNil, I(0)}), kNil);
  EXPECT_TRUE(log().empty());
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string missing = std::string(folder) + "no-such-stream.wav";
  EXPECT_EQ(call("_CRSoundStream", {device, S(missing), I(0)}), kNil);
  EXPECT_EQ(log(), std::vector<std::string>{"Cannot open the file " + missing});
  WaveLayout floats;
  floats.formatTag = 3;
  floats.data = "abcd";
  machine->clearLog();
  EXPECT_EQ(call("_CRSoundStream", {device, S(tempFile(waveBytes(floats))), I(0)}), kNil);
  EXPECT_EQ(log(), std::vector<std::string>{"This wave file is not in the PCM format."});
  EXPECT_EQ(threadCount(), threadsBefore);
}

}  // namespace
}  // namespace mivalotest
