// What the plug-in's Wine tests share: a Kebo installation of their own
// (registry key and directory), parameter files, runs of the browser double
// and readings of its record, of the component double's log and of panel
// pictures.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace npvlx_test {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// The one server the tests' Kebo key trusts; the browser double serves its
// pages from the served folder like any other.
inline constexpr char kTrustedServer[] = "http://kebo.test";
inline std::string onTrustedServer(const std::string& page) { return std::string(kTrustedServer) + "/" + page; }

// Payloads built into the test program (see payloads.rc).
enum Payload { kInprocDll = 101, kInprocDllCompressed = 102, kServerExeCompressed = 103 };
std::string payloadBytes(Payload which);

// An answer of the server: payload, then the pairs, then the action number.
std::string answer(const std::string& payload, const Pairs& pairs, int action);

// The lines of the record that start with prefix.
std::vector<std::string> linesStartingWith(const std::vector<std::string>& lines, const std::string& prefix);
bool hasLine(const std::vector<std::string>& lines, const std::string& line);

struct Picture {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;  // row 0 at the top
  COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  // Pixels of the given colour in rows [top, bottom).
  int count(COLORREF colour, int top, int bottom) const;
};
bool readPicture(const std::string& path, Picture& picture);

class KeboTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The Kebo key, complete unless told otherwise, trusting kTrustedServer.
  void writeKeboKey(bool withVlx = true, bool withDirectory = true);
  // A file of the served folder.
  void serve(const std::string& name, const std::string& bytes);
  // A parameter file for one embedded instance; returns its path.
  std::string parameters(const Pairs& pairs);
  // Runs the browser double over the parameter files; its record's lines.
  std::vector<std::string> runHost(const std::vector<std::string>& files, const std::string& options = "",
                                   int runMs = 800);
  // The in-process component double, installed as `name` with version.
  std::string installInprocComponent(const std::string& name, long version);
  // The log of the component double whose module is at path.
  std::vector<std::string> componentLog(const std::string& modulePath);

  std::string keboDir;    // the Kebo directory of this test
  std::string servedDir;  // what the browser double serves
  std::string scratchDir;
};

}  // namespace npvlx_test
