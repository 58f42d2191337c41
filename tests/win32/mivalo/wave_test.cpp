// Wave files, made by the tests: the seven-step header check and
// its messages, _GETwaveInfo's bits from the block align, _GETwaveData's
// string, and fault-injected allocations.
#include "mivalo_fixture.h"
#include "wave_writer.h"

namespace mivalotest {
namespace {

class MivaloWave : public MivaloTest {
 protected:
  VmValue info(const std::string& path) { return call("_GETwaveInfo", {S(path)}); }
  VmValue data(const std::string& path) { return call("_GETwaveData", {S(path)}); }
  // Both primitives refuse the file with the same single message.
  void expectRefused(const std::string& bytes, const std::string& message) {
    const std::string path = tempFile(bytes);
    machine->clearLog();
    EXPECT_EQ(info(path), kNil);
    EXPECT_EQ(log(), std::vector<std::string>{message});
    machine->clearLog();
    EXPECT_EQ(data(path), kNil);
    EXPECT_EQ(log(), std::vector<std::string>{message});
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "the file was left open";
  }
};

TEST_F(MivaloWave, CanonicalFilesGiveTheirFormatAndData) {
  struct Case {
    uint16_t channels, bits;
    uint32_t rate;
  };
  for (const Case& c :
       {Case{1, 16, 22050}, Case{2, 16, 44100}, Case{1, 8, 11025}, Case{2, 8, 8000}}) {
    SCOPED_TRACE(::testing::Message() << c.channels << " channels, " << c.bits << " bits");
    WaveLayout layout;
    layout.channels = c.channels;
    layout.bitsPerSample = c.bits;
    layout.samplesPerSec = c.rate;
    layout.data = countingSamples(1000);
    const std::string path = tempFile(waveBytes(layout));
    EXPECT_EQ(ints(info(path)),
              (std::vector<int>{1000, c.channels, static_cast<int>(c.rate), c.bits}));
    const VmValue bytes = data(path);
    EXPECT_EQ(machine->stringOf(bytes), layout.data);
    EXPECT_EQ(machine->blockInfo(bytes)->words, (1000 + 1) / 2 + 1);
    EXPECT_TRUE(log().empty()) << log().front();
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "the file was left open";
  }
}

TEST_F(MivaloWave, BitsComeFromTheBlockAlign) {
  WaveLayout layout;
  layout.channels = 2;
  layout.bitsPerSample = 16;  // not read
  layout.blockAlign = 3;
  layout.data = "abcdef";
  EXPECT_EQ(ints(info(tempFile(waveBytes(layout)))), (std::vector<int>{6, 2, 22050, 8}));
  layout.blockAlign = 2;
  layout.bitsPerSample = 8;
  EXPECT_EQ(ints(info(tempFile(waveBytes(layout)))), (std::vector<int>{6, 2, 22050, 8}));
  layout.channels = 0;  // a file that claims no channel: no division by zero
  EXPECT_EQ(ints(info(tempFile(waveBytes(layout)))), (std::vector<int>{6, 0, 22050, 0}));
}

TEST_F(MivaloWave, TheFormTypeIsNotCompared) {
  WaveLayout layout;
  layout.formType = "AVI ";
  layout.data = "xyz";
  const std::string path = tempFile(waveBytes(layout));
  EXPECT_EQ(ints(info(path)), (std::vector<int>{3, 1, 22050, 16}));
  EXPECT_EQ(machine->stringOf(data(path)), "xyz");
}

TEST_F(MivaloWave, AnEmptyDataChunkGivesAnEmptyString) {
  WaveLayout layout;
  const std::string path = tempFile(waveBytes(layout));
  EXPECT_EQ(ints(info(path)), (std::vector<int>{0, 1, 22050, 16}));
  const VmValue bytes = data(path);
  EXPECT_EQ(machine->stringOf(bytes), "");
  EXPECT_EQ(machine->blockInfo(bytes)->words, 2);  // room for the zero byte
}

// The bytes the file lacks are silence, whatever the block held before.
TEST_F(MivaloWave, AFileShorterThanItsDataChunkGivesSilenceForWhatItLacks) {
  machine->setRawFill(0x5A5A5A5A);
  for (uint16_t bits : {16, 8}) {
    SCOPED_TRACE(bits);
    WaveLayout layout;
    layout.bitsPerSample = bits;
    layout.data = std::string(100, 'd');
    std::string bytes = waveBytes(layout);
    bytes.resize(44 + 40);
    const VmValue s = data(tempFile(bytes));
    const int32_t* words = machine->blockWords(s);
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(words[0], 100);
    const std::string silence(60, bits == 8 ? '\x80' : '\0');
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(words + 1), 101),
              std::string(40, 'd') + silence + '\0');
  }
}

TEST_F(MivaloWave, EachStepOfTheHeaderCheckHasItsMessage) {
  WaveLayout layout;
  layout.data = "abcd";
  const std::string good = waveBytes(layout);

  expectRefused("", "This is not a wave file");
  expectRefused("RIFF", "This is not a wave file");
  expectRefused(good.substr(0, 12), "Failled to read format chunk info");
  WaveLayout listFirst = layout;
  listFirst.formType = "WAVELIST";  // the chunk after the form type is not "fmt "
  expectRefused(waveBytes(listFirst), "Failled to read format chunk info");
  expectRefused(good.substr(0, 30), "Failled to read format chunk");
  expectRefused(good.substr(0, 40), "Failled to read data chunk info");

  WaveLayout extended = layout;
  extended.extraSizeField = true;  // an 18-byte "fmt " chunk
  expectRefused(waveBytes(extended), "No data chunk");
  WaveLayout extra = layout;
  extra.chunkBeforeData = chunk("fact", "1234");
  expectRefused(waveBytes(extra), "No data chunk");
  WaveLayout floats = layout;
  floats.formatTag = 3;
  expectRefused(waveBytes(floats), "This wave file is not in the PCM format.");
}

TEST_F(MivaloWave, AMissingFileIsNamed) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string path = std::string(folder) + "no-such-file.wav";
  EXPECT_EQ(info(path), kNil);
  EXPECT_EQ(data(path), kNil);
  EXPECT_EQ(log(), (std::vector<std::string>{"Cannot open the file " + path,
                                             "Cannot open the file " + path}));
}

TEST_F(MivaloWave, ANilPathGivesNilWithoutAMessage) {
  EXPECT_EQ(call("_GETwaveInfo", {kNil}), kNil);
  EXPECT_EQ(call("_GETwaveData", {kNil}), kNil);
  EXPECT_TRUE(log().empty());
}

TEST_F(MivaloWave, FailedAllocationsCloseTheFile) {
  WaveLayout layout;
  layout.data = "abcd";
  const std::string path = tempFile(waveBytes(layout));
  for (const char* name : {"_GETwaveInfo", "_GETwaveData"}) {
    SCOPED_TRACE(name);
    machine->failAllocAt(1);
    const TestMachine::CallResult r = machine->call(name, {S(path)});
    EXPECT_EQ(r.code, testvm::kAllocFailed);
    EXPECT_EQ(r.value, kNil);
  }
  EXPECT_TRUE(DeleteFileA(path.c_str())) << "the file was left open";
}

}  // namespace
}  // namespace mivalotest
