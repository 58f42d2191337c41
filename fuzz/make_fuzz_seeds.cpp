// Writes valid inputs of every kind into OUT/<target>/seed/ for the fuzz
// targets to start from: make_fuzz_seeds OUT. The fuzzers mutate these, so
// each seed is small and well formed.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "video_seeds.h"

namespace fs = std::filesystem;

namespace {

class SeedWriter {
 public:
  explicit SeedWriter(fs::path out) : out_(std::move(out)) {}

  void add(const std::string& target, const std::vector<uint8_t>& bytes) {
    add(target, std::string(bytes.begin(), bytes.end()));
  }
  void add(const std::string& target, const std::string& bytes) {
    const fs::path folder = out_ / target / "seed";
    fs::create_directories(folder);
    std::ofstream(folder / std::to_string(counts_[target]++), std::ios::binary) << bytes;
  }

 private:
  fs::path out_;
  std::map<std::string, int> counts_;
};

// An answer as the browser may deliver it, in pieces of 1, 7 and 127
// bytes, under the real limit and under one a little shorter than it.
void answerStreams(SeedWriter& seeds, const std::string& answer) {
  for (size_t pieceSize : {1, 7, 127}) {
    std::string pieces;
    for (size_t at = 0; at < answer.size(); at += pieceSize) {
      const std::string piece = answer.substr(at, pieceSize);
      pieces += static_cast<char>(piece.size()) + piece;
    }
    seeds.add("fuzz_answer_stream", std::string(1, '\0') + pieces);
    seeds.add("fuzz_answer_stream", std::string(1, '\x13') + pieces);  // a limit of 32 bytes
  }
}

// Answers: payloads with zeros and "$$" of their own, every action, pairs
// before and after "eop", and the tail's letter case.
void answers(SeedWriter& seeds) {
  const std::string payloads[] = {"", "hello", std::string("bin\0ary$$data", 13), "$$$$"};
  const std::string blocks[] = {
      "$$eop$$cmd$$0$$action",
      "$$eop$$cmd$$http://kebo.example/a$$url$$_self$$frame$$1$$action",
      "$$eop$$cmd$$app.exe$$name$$3$$version$$2$$ACTION",
      "$$eop$$cmd$$x.kbc$$name$$paramsapp$$paramsapp$$3$$Action",
      "$$eop$$cmd$$http://kebo.example/p$$url$$500$$timeout$$4$$action",
      "$$eop$$cmd$$a;b$$list$$5$$action",
      "$$eop$$cmd$$$$$$7$$action",
  };
  for (const auto& payload : payloads)
    for (const auto& block : blocks) {
      seeds.add("fuzz_answer", payload + block);
      answerStreams(seeds, payload + block);
    }
  // Filler pieces of the real limit less two bytes and less one: with two
  // bytes more the first makes the limit exactly, the second passes it.
  const std::string limitLessTwo("\xFF\xFE\xFF\xFF", 4), limitLessOne("\xFF\xFF\xFF\xFF", 4);
  seeds.add("fuzz_answer_stream", std::string(1, '\0') + limitLessTwo + "\x02$$" + "\x01$");
  seeds.add("fuzz_answer_stream", std::string(1, '\0') + limitLessOne + limitLessOne);
}

// Pair lists in both separators (the first byte chooses), launch parameters
// with escapes, Kebo paths and download addresses among the values.
void pairLists(SeedWriter& seeds) {
  const std::string pairs[][2] = {{"paramsapp", "a#b\\#c"},     {"paramsapp1", "second"},
                                  {"CMD", "run"},               {"file", "sub\\dir/name.kbc"},
                                  {"url", "http://kebo.example/files/setup.exe"}, {"timeout", "-42"}};
  for (const std::string separator : {"\xA3\xA3", "$$"}) {
    std::string list(1, separator == "$$" ? '\1' : '\0');
    for (const auto& pair : pairs) list += pair[0] + separator + pair[1] + separator;
    seeds.add("fuzz_pair_list", list);
  }
}

// Command lines, install directories and removal folders (the first byte
// chooses), each in the forms the installer meets.
void installRules(SeedWriter& seeds) {
  const std::string lines[] = {"*dC:\\Kebo *i1 *l0 *uhttp://kebo.example/", "*i0*l1", "*d\"D:\\Program Files\\K\" *q"};
  const std::string directories[] = {"C:\\Kebo\\bin", "\\\\server\\share\\kebo\\bin", "D:\\"};
  const std::string folders[] = {"C:\\Kebo", "C:\\Program Files\\Kebo\\", "C:\\Users\\ana\\Kebo", "C:\\Windows\\.."};
  for (const auto& line : lines) seeds.add("fuzz_install_rules", std::string(1, '\0') + line);
  for (const auto& directory : directories) seeds.add("fuzz_install_rules", std::string(1, '\1') + directory);
  for (const auto& folder : folders) seeds.add("fuzz_install_rules", std::string(1, '\2') + folder);
}

// Test machine script lines and type strings.
void machineScripts(SeedWriter& seeds) {
  const std::string lines[] = {"call fxAdd 2 -5   # comment",
                               "call fxLabel \"a \\\"q\\\" \\\\ \\n\" 4",
                               "save $3 \"out.raw\"",
                               "fun [F [I I] S] I",
                               "fun [ObjBitmap [I [I I]] fun [S] I] [S I]"};
  for (const auto& line : lines) seeds.add("fuzz_machine_script", line);
}

// Registry scripts beyond the module's own: every rule, both value kinds,
// named values, replacements and doubled quotes.
void registryScripts(SeedWriter& seeds) {
  seeds.add("fuzz_registry_script",
            "HKCU { NoRemove Software { ForceRemove 'It''s' = s '%MODULE%, 100%%' {\n"
            "  val Number = d 0x2A\n  val 'Name' = s 'text'\n  Delete Old\n  Sub = d 017 { Leaf }\n} } }\n"
            "HKEY_LOCAL_MACHINE { Key }\n");
}

// A setup script that walks folders and matches names with wildcards
// (the example packages' own scripts are copied from the tree as well).
void setupScripts(SeedWriter& seeds) {
  const std::string script =
      "[Setup]\nGetSystemVars\nExist \"media\\*.vxs\"\nIf\nApplyOnFiles \"a.vxs\" \"Found\"\nEndif\n"
      "Exist \"readme.t?t\"\nCopyDir2Dest \"media\"\ngoto \"Found\"\n"
      "[Found]\nset FOUND DSTDIR\n[Uninstall]\nDeltree DSTDIR\n";
  for (const char* target : {"fuzz_setup_script", "fuzz_setup_lint"}) seeds.add(target, script);
}

// A canonical PCM wave header: 16-bit stereo at 22,050 a second, 4 data bytes.
void waveHeaders(SeedWriter& seeds) {
  const uint8_t header[] = {'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                            1,   0,   2,   0,   0x22, 0x56, 0, 0, 0x88, 0x58, 1, 0, 4, 0, 16, 0,
                            'd', 'a', 't', 'a', 4, 0, 0, 0};
  seeds.add("fuzz_wave_header", std::vector<uint8_t>(std::begin(header), std::end(header)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds OUT\n");
    return 2;
  }
  SeedWriter seeds(argv[1]);
  answers(seeds);
  pairLists(seeds);
  installRules(seeds);
  machineScripts(seeds);
  registryScripts(seeds);
  setupScripts(seeds);
  waveHeaders(seeds);
  for (const auto& seed : videoSeeds()) seeds.add("fuzz_video", seed);
  return 0;
}
