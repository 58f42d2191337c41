// A package folder of the tests' own, in the temp directory, removed again.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace setuplint::testing {

class TempPackage {
 public:
  TempPackage() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              ("setup-lint-" + std::string(test->test_suite_name()) + "-" + test->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  ~TempPackage() { std::filesystem::remove_all(folder_); }
  TempPackage(const TempPackage&) = delete;
  TempPackage& operator=(const TempPackage&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  void write(const std::string& relative, const std::string& text) const {
    std::filesystem::path path = folder_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }

 private:
  std::filesystem::path folder_;
};

}  // namespace setuplint::testing
