#include "npvlx_fixture.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "common/win32/handles.h"
#include "common/win32/process_run.h"
#include "common/win32/registry_tree.h"

namespace npvlx_test {

namespace {

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void removeTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  win::UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &found));
  if (find.get() != INVALID_HANDLE_VALUE && find) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(find.get(), &found));
  }
  find.reset();
  RemoveDirectoryA(folder.c_str());
}

std::string scratchFolder() {
  static int counter = 0;
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  // Process ids repeat from one Wine session to the next: the time tells
  // runs apart.
  return std::string(folder) + "npvlx" + std::to_string(GetCurrentProcessId()) + "_" +
         std::to_string(GetTickCount()) + "_" + std::to_string(++counter);
}

struct ProcessRun {
  int exitCode = -1;
  std::string output;
};

ProcessRun runCommand(const std::string& commandLine, const std::string& outputPath) {
  win::ProcessRun run = win::runWithOutputFile(commandLine, outputPath, nullptr, 90000);
  if (!run.started) {
    return {-1, "cannot run " + commandLine + " with output " + outputPath + ": error " +
                    std::to_string(run.error)};
  }
  return {run.exitCode, run.output};
}

}  // namespace

std::string payloadBytes(Payload which) {
  HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(which), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!resource) return {};
  HGLOBAL loaded = LoadResource(nullptr, resource);
  return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(nullptr, resource));
}

std::string answer(const std::string& payload, const Pairs& pairs, int action) {
  std::string text = payload + "$$eop$$cmd";
  for (const auto& [key, value] : pairs) text += "$$" + value + "$$" + key;
  return text + "$$" + std::to_string(action) + "$$action";
}

std::vector<std::string> linesStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
  std::vector<std::string> found;
  for (const auto& line : lines) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
  for (const auto& l : lines) {
    if (l == line) return true;
  }
  return false;
}

int Picture::count(COLORREF colour, int top, int bottom) const {
  int n = 0;
  for (int y = std::max(top, 0); y < std::min(bottom, height); ++y) {
    for (int x = 0; x < width; ++x) n += at(x, y) == colour;
  }
  return n;
}

bool readPicture(const std::string& path, Picture& picture) {
  std::string bytes = readFile(path);
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
  BITMAPINFOHEADER header;
  memcpy(&header, bytes.data() + 14, sizeof header);
  if (header.biBitCount != 24 || header.biHeight <= 0) return false;
  picture.width = header.biWidth;
  picture.height = header.biHeight;
  size_t row = (static_cast<size_t>(picture.width) * 3 + 3) & ~size_t{3};
  if (bytes.size() < 54 + row * picture.height) return false;
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    const auto* line = reinterpret_cast<const unsigned char*>(bytes.data()) + 54 + row * (picture.height - 1 - y);
    for (int x = 0; x < picture.width; ++x) {
      picture.pixels[static_cast<size_t>(y) * picture.width + x] = RGB(line[3 * x + 2], line[3 * x + 1], line[3 * x]);
    }
  }
  return true;
}

void KeboTest::SetUp() {
  scratchDir = scratchFolder();
  keboDir = scratchDir + "\\Kebo";
  servedDir = scratchDir + "\\served";
  CreateDirectoryA(scratchDir.c_str(), nullptr);
  CreateDirectoryA(keboDir.c_str(), nullptr);
  CreateDirectoryA(servedDir.c_str(), nullptr);
  writeKeboKey();
}

void KeboTest::TearDown() {
  win::deleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\KEBO");
  removeTree(scratchDir);
}

void KeboTest::writeKeboKey(bool withVlx, bool withDirectory) {
  win::deleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\KEBO");
  HKEY raw = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\KEBO", 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr),
            ERROR_SUCCESS);
  win::UniqueRegKey key(raw);
  if (withDirectory) {
    RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(keboDir.c_str()),
                   static_cast<DWORD>(keboDir.size() + 1));
  }
  RegSetValueExA(key.get(), "Servers", 0, REG_SZ, reinterpret_cast<const BYTE*>(kTrustedServer),
                 sizeof kTrustedServer);
  DWORD vlx = 1003;
  if (withVlx) RegSetValueExA(key.get(), "VLX", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&vlx), sizeof vlx);
}

void KeboTest::serve(const std::string& name, const std::string& bytes) { writeFile(servedDir + "\\" + name, bytes); }

std::string KeboTest::parameters(const Pairs& pairs) {
  static int counter = 0;
  std::string path = scratchDir + "\\params" + std::to_string(++counter) + ".txt";
  std::string text;
  for (const auto& [name, value] : pairs) text += name + "=" + value + "\n";
  writeFile(path, text);
  return path;
}

std::vector<std::string> KeboTest::runHost(const std::vector<std::string>& files, const std::string& options,
                                           int runMs) {
  std::string command = "browserhost.exe --serve \"" + servedDir + "\" --run " + std::to_string(runMs) + " " + options;
  for (const auto& f : files) command += " \"" + f + "\"";
  static int runs = 0;
  auto result = runCommand(command, scratchDir + "\\host-output" + std::to_string(++runs) + ".txt");
  EXPECT_EQ(result.exitCode, 0) << result.output;
  auto lines = splitLines(result.output);
  EXPECT_TRUE(hasLine(lines, "NP_Shutdown -> 0")) << result.output;
  return lines;
}

std::string KeboTest::installInprocComponent(const std::string& name, long version) {
  std::string path = keboDir + "\\" + name + ".dll";
  writeFile(path, payloadBytes(kInprocDll));
  win::UniqueModule module(LoadLibraryA(path.c_str()));
  EXPECT_TRUE(module) << path;
  if (!module) return path;
  using Register = HRESULT(WINAPI*)();
  auto registerServer = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(module.get(), "DllRegisterServer")));
  EXPECT_EQ(registerServer(), S_OK);
  HKEY raw = nullptr;
  std::string subkey = "Software\\KEBO\\" + name;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr);
  win::UniqueRegKey key(raw);
  std::string clsid = "{BBF0F053-EC52-468E-A223-E425EF9F2AC1}";
  std::string versionText = std::to_string(version);
  RegSetValueExA(key.get(), "CLSID", 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid.c_str()), clsid.size() + 1);
  RegSetValueExA(key.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(versionText.c_str()),
                 versionText.size() + 1);
  RegSetValueExA(key.get(), "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()), path.size() + 1);
  return path;
}

std::vector<std::string> KeboTest::componentLog(const std::string& modulePath) {
  return splitLines(readFile(modulePath + ".log"));
}

}  // namespace npvlx_test
