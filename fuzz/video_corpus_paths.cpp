// Which of the decoder paths that the path-coverage test's encoded content
// takes a fuzz corpus takes too, counted by the decoder's own path
// counters: video_corpus_paths DIR... (each file read as fuzz_video reads it).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "path_content.h"
#include "path_counts.h"
#include "video_input.h"

namespace fs = std::filesystem;

namespace {

using Taken = std::vector<std::pair<int, int>>;

Taken takenPaths() {
  Taken taken;
  for (int g = 0; g < video::kPathGroups; ++g)
    for (int p = 0; p < video::kPathsPerGroup; ++p)
      if (video::pathCounts[g][p] != 0) taken.emplace_back(g, p);
  std::memset(video::pathCounts, 0, sizeof video::pathCounts);
  return taken;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: video_corpus_paths DIR...\n");
    return 2;
  }
  fuzzvideo::Pictures pictures;
  pathcontent::forEachEncoded([&](const pathcontent::Encoded& e) {
    const auto& payload = e.picture.payload;
    if (e.panorama) {
      video::decodeIWPicture(payload.data(), payload.size(), pictures.panorama.data());
    } else {
      video::decodeIXPicture(payload.data(), payload.size(), pictures.current.data(),
                             e.reference.empty() ? pictures.current.data() : e.reference.data());
    }
  });
  const Taken byContent = takenPaths();

  size_t inputs = 0;
  for (int i = 1; i < argc; ++i) {
    for (const auto& entry : fs::directory_iterator(argv[i])) {
      std::ifstream file(entry.path(), std::ios::binary);
      const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
      fuzzvideo::decodeInput(bytes.data(), bytes.size(), pictures);
      ++inputs;
    }
  }
  const Taken byCorpus = takenPaths();

  size_t reached = 0;
  std::string missing;
  for (const auto& path : byContent) {
    if (std::find(byCorpus.begin(), byCorpus.end(), path) != byCorpus.end()) {
      ++reached;
    } else {
      missing += " " + std::to_string(path.first) + ":" + std::to_string(path.second);
    }
  }
  std::printf("%zu inputs reach %zu of the %zu decoder paths the encoded content takes (%.1f %%)\n", inputs, reached,
              byContent.size(), 100.0 * reached / byContent.size());
  if (!missing.empty()) std::printf("not reached (group:path):%s\n", missing.c_str());
  return 0;
}
