// Encoded content, decoded by a decoder that counts its paths: every code of
// both IX codings and of IW, both copy sources and both near tables, every
// coefficient opcode and every inverse transform path is taken.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "path_content.h"
#include "path_counts.h"

namespace {

using pathcontent::Picture;

struct PathName {
  video::PathGroup group;
  int path;
  std::string name;
};

std::vector<PathName> expectedPaths() {
  std::vector<PathName> paths;
  const char* pieces[] = {"8x8", "8x4", "4x8", "4x4", "4x2", "2x4", "2x2"};
  const int predicted[] = {7, 4, 4, 6, 4, 4, 3};  // the 8x8 table's 1111 is no valid code
  const int selfContained[] = {5, 2, 2, 4, 2, 2, 1};
  for (int p = 0; p < 7; ++p) {
    for (int c = 0; c < predicted[p]; ++c)
      paths.push_back({video::kIxPredictedCodes, p * 8 + c, std::string("IX predicted ") + pieces[p] + " code " + std::to_string(c)});
    for (int c = 0; c < selfContained[p]; ++c)
      paths.push_back({video::kIxSelfContainedCodes, p * 8 + c,
                       std::string("IX self-contained ") + pieces[p] + " code " + std::to_string(c)});
  }
  const char* sources[] = {"long vector from reference", "long vector from current", "small word in reference",
                           "small word in current"};
  for (int s = 0; s < 4; ++s) paths.push_back({video::kIxSources, s, sources[s]});
  const char* iw[] = {"IW quadrants", "IW long vector", "IW intra", "IW quadrant long vector", "IW 2x2 group"};
  for (int c = 0; c < 5; ++c) paths.push_back({video::kIwCodes, c, iw[c]});
  for (int op = 0; op < 16; ++op) paths.push_back({video::kOpcodes, op, "coefficient opcode " + std::to_string(op)});
  const char* idct[] = {"fill", "columns then rows", "one column", "rows then columns", "one row"};
  for (int t = 0; t < 5; ++t) paths.push_back({video::kInverseTransforms, t, std::string("inverse transform: ") + idct[t]});
  return paths;
}

TEST(DecoderPaths, EncodedContentTakesEveryPath) {
  std::memset(video::pathCounts, 0, sizeof video::pathCounts);
  pathcontent::forEachEncoded([](const pathcontent::Encoded& e) {
    const auto& payload = e.picture.payload;
    Picture decoded(e.picture.reconstruction.size());
    if (e.panorama) {
      video::decodeIWPicture(payload.data(), payload.size(), decoded.data());
    } else {
      video::decodeIXPicture(payload.data(), payload.size(), decoded.data(),
                             e.reference.empty() ? decoded.data() : e.reference.data());
    }
    ASSERT_EQ(decoded, e.picture.reconstruction) << (e.panorama ? "panorama" : "frame ") << e.frame << ", quality "
                                                 << e.quality;
  });
  std::string missing;
  for (const PathName& p : expectedPaths())
    if (video::pathCounts[p.group][p.path] == 0) missing += "\n  " + p.name;
  EXPECT_TRUE(missing.empty()) << "paths no encoded content took:" << missing;
}

}  // namespace
