#include "dll_bench.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_timing.h"
#include "common/win32/handles.h"
#include "stream_writer.h"
#include "test_machine.h"
#include "values.h"

namespace {

using shipbench::checksum;
using shipbench::minMicros;
using shipbench::report;
using testvm::TestMachine;

// One frame holding the picture's chunk, in a temporary file removed on
// destruction; the handle stays open for reading.
class FrameFile {
 public:
  explicit FrameFile(const DllPicture& p) {
    const auto bytes = zkv6enc::frame({zkv6enc::rawChunk(p.panorama ? "IW" : "IX", p.payload)});
    char dir[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "shb", 0, name);
    path_ = name;
    {
      const win::UniqueHandle out = win::adoptFileHandle(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      DWORD written = 0;
      WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    handle_ = win::adoptFileHandle(CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  }
  ~FrameFile() {
    handle_.reset();
    DeleteFileA(path_.c_str());
  }
  FrameFile(const FrameFile&) = delete;
  FrameFile& operator=(const FrameFile&) = delete;
  HANDLE handle() const { return handle_.get(); }
  void rewind() const { SetFilePointer(handle_.get(), 0, nullptr, FILE_BEGIN); }

 private:
  std::string path_;
  win::UniqueHandle handle_;
};

}  // namespace

bool dllCases(const std::vector<DllPicture>& pictures, float yawDegrees, float pitchDegrees) {
  TestMachine machine;
  if (!machine.loadPlugin("ostrel.dll", "VOXAloadWARP")) {
    std::fprintf(stderr, "ship_bench: %s\n", machine.lastError().c_str());
    return false;
  }
  bool ok = true;
  auto call = [&](const char* name, const std::vector<VmValue>& args) {
    if (machine.call(name, args).code != 0) ok = false;
  };
  const VmValue view = machine.makeBitmap(640, 480), source = machine.makeBitmap(2048, 768);
  uint16_t* sourcePixels = machine.bitmapPixels(source);
  for (size_t i = 0; i < 2048 * 768; ++i) sourcePixels[i] = static_cast<uint16_t>((i * 40503u) & 0x7FFF);

  call("WARPinitialize", {machine.makeFloat(90), machine.makeFloat(80)});
  float yaw = 0;
  double t = minMicros(shipbench::kWarpRuns, [&] {
    call("WARPcalcul", {machine.makeFloat(yaw += 0.05f), machine.makeFloat(5.7f)});
  });
  report("dll_WARPcalcul", t, 0);
  call("WARPcalcul", {machine.makeFloat(yawDegrees), machine.makeFloat(pitchDegrees)});
  t = minMicros(shipbench::kWarpRuns, [&] { call("WARPrender", {view, source}); });
  report("dll_WARPrender", t, checksum(machine.bitmapPixels(view), 640 * 480));

  const VmValue panorama = machine.makeBitmap(2048, 768);
  const VmValue current = machine.makeBitmap(640, 480), reference = machine.makeBitmap(640, 480);
  for (const DllPicture& p : pictures) {
    FrameFile file(p);
    const VmValue f = machine.makeFile(file.handle());
    const int runs = p.panorama ? shipbench::kPanoramaRuns : shipbench::kPictureRuns;
    t = minMicros(runs, [&] {
      file.rewind();
      if (p.panorama) {
        call("ZKV6readWarp", {f, panorama});
      } else {
        call("ZKV6readIX", {f, current, reference});
      }
    });
    const std::string name = (p.panorama ? "dll_ZKV6readWarp_" : "dll_ZKV6readIX_") + p.name;
    report(name.c_str(), t,
           p.panorama ? checksum(machine.bitmapPixels(panorama), 2048 * 768) : checksum(machine.bitmapPixels(current), 640 * 480));
  }
  if (!machine.faults().empty()) {
    std::fprintf(stderr, "ship_bench: machine fault: %s\n", machine.faults().front().c_str());
    ok = false;
  }
  return ok;
}
