// The deliverables' own code timed as each build compiles it: the same
// program runs natively and, built by the win32 build, under Wine, so that
// the two columns compare one compiler's code with the other's on the same
// processor. Beside it, a memcpy and a gather through an index table
// compiled the same way, and (Windows build only) the same work through
// ostrel.dll's primitives in the test machine.
//
//   ship_bench [FOLDER]
//
// The warp and the decodes run on the code path in use (SSE2 where the
// processor has it, unless OSTREL_SCALAR is set) and again, as NAME_scalar,
// on the scalar one.
//
// The encoded pictures are read from FOLDER when it holds them, else encoded
// here (and written there), so that both builds decode the same bytes.
// Output: one line a case, "name <tab> microseconds <tab> checksum", the
// time the minimum of many runs, the checksum that of the pixels made, equal
// across builds when their pixels are.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "code_path.h"
#include "picture_encoders.h"
#include "pictures.h"
#include "synthetic_picture.h"
#include "warp_render.h"
#include "warp_scene.h"
#include "warp_tables.h"

#ifdef _WIN32
#include "dll_bench.h"
#endif

namespace {

using namespace warp;
using Bytes = std::vector<uint8_t>;
using codec::CodePath;
using shipbench::checksum;
using shipbench::minMicros;
using shipbench::report;

constexpr size_t kViewPixels = WarpScene::kViewPixels;


// Kept out of line so that the loop is compiled as any other function.
__attribute__((noinline)) void gather(const uint16_t* source, const uint32_t* index, uint16_t* out) {
  for (size_t i = 0; i < kViewPixels; ++i) out[i] = source[index[i]];
}

// Runs f on the path in use as name, and also on the scalar path as
// name_scalar when the one in use is another.
template <typename F>
void eachPath(const std::string& name, F&& f) {
  const CodePath inUse = codec::codePath();
  f(name);
  if (inUse == CodePath::kScalar) return;
  codec::setCodePath(CodePath::kScalar);
  f(name + "_scalar");
  codec::setCodePath(inUse);
}

void warpCases() {
  WarpScene s;
  eachPath("warp_render", [&](const std::string& name) {
    const double t = minMicros(shipbench::kWarpRuns, [&] { warpRender(s.tables->sampleGrid, s.source.data(), s.view.data()); });
    report(name.c_str(), t, checksum(s.view.data(), kViewPixels));
  });
  double t;
  std::vector<uint16_t> gathered(kViewPixels);
  t = minMicros(shipbench::kWarpRuns, [&] { gather(s.source.data(), s.index.data(), gathered.data()); });
  report("index_gather", t, checksum(gathered.data(), kViewPixels));
  t = minMicros(shipbench::kWarpRuns, [&] { std::memcpy(gathered.data(), s.source.data(), kViewPixels * 2); });
  report("memcpy_view", t, checksum(gathered.data(), kViewPixels));
  float yaw = 0;
  t = minMicros(shipbench::kWarpRuns, [&] { warpCalcul(*s.tables, yaw += 0.001f, 0.1f); });
  report("warp_calcul", t, 0);
}

// One encoded picture of the comparison set.
struct Picture {
  const char* name;
  bool panorama;
  int quality;
  Bytes payload;
};

// The picture's payload: under Windows the native run's when it left one
// (the same bytes on both builds), else encoded here and left for the other.
Bytes encoded(const std::string& folder, const char* name, bool panorama, int quality) {
  const std::string path = folder.empty() ? "" : folder + "/" + name + ".payload";
#ifdef _WIN32
  if (std::ifstream in(path, std::ios::binary); in) {
    Bytes b(std::istreambuf_iterator<char>(in), {});
    if (!b.empty()) return b;
  }
#endif
  const auto source = syntheticPicture(panorama ? video::kIwWidth : video::kIxWidth,
                                       panorama ? video::kIwHeight : video::kIxHeight);
  Bytes b = panorama ? zkv6enc::encodeIWPicture(source.data(), quality).payload
                     : zkv6enc::encodeIXPicture(source.data(), nullptr, quality).payload;
  if (!path.empty()) std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
  return b;
}

std::vector<Picture> pictures(const std::string& folder) {
  std::vector<Picture> all = {{"iw_q50", true, 50, {}}, {"iw_q90", true, 90, {}},
                              {"ix_q50", false, 50, {}}, {"ix_q90", false, 90, {}}};
  for (Picture& p : all) p.payload = encoded(folder, p.name, p.panorama, p.quality);
  return all;
}

void decodeCases(const std::vector<Picture>& all) {
  std::vector<uint16_t> pixels(video::kIwWidth * video::kIwHeight), reference(video::kIxWidth * video::kIxHeight);
  for (const Picture& p : all) {
    eachPath(std::string("decode_") + p.name, [&](const std::string& name) {
      const int runs = p.panorama ? shipbench::kPanoramaRuns : shipbench::kPictureRuns;
      const double t = minMicros(runs, [&] {
        if (p.panorama) {
          video::decodeIWPicture(p.payload.data(), p.payload.size(), pixels.data());
        } else {
          video::decodeIXPicture(p.payload.data(), p.payload.size(), pixels.data(), reference.data());
        }
      });
      const size_t count = p.panorama ? pixels.size() : reference.size();
      report(name.c_str(), t, checksum(pixels.data(), count));
    });
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "";
  warpCases();
  const auto all = pictures(folder);
  decodeCases(all);
#ifdef _WIN32
  std::vector<DllPicture> frames;
  for (const Picture& p : all) frames.push_back({p.name, p.panorama, p.payload});
  return dllCases(frames, kSceneYaw, kScenePitch) ? 0 : 1;
#else
  return 0;
#endif
}
