// Any bytes as a pair list, with the answers' "$$" or the parameters'
// separator (the first byte chooses): no key or value holds the separator,
// the list written again starts with the text it was read from and adds
// only separators. What the plug-in reads out of the pairs keeps its
// bounds: the launch text its limit, the Kebo paths and download names
// their rules.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kebo_paths.h"
#include "launch_params.h"
#include "pair_list.h"

namespace {

void checkPath(std::string_view value) {
  if (auto path = kebo::pathInsideKeboDirectory(value)) {
    // Relative, single backslashes between plain parts, never longer than asked.
    if (path->empty() || path->size() > value.size() || path->find_first_of(":/") != std::string::npos) abort();
    size_t start = 0;
    while (start <= path->size()) {
      size_t end = path->find('\\', start);
      if (end == std::string::npos) end = path->size();
      const std::string_view part = std::string_view(*path).substr(start, end - start);
      if (part.empty() || part == "." || part == "..") abort();
      start = end + 1;
    }
  }
  if (auto name = kebo::downloadFileName(value)) {
    if (name->empty() || *name == ".." || name->find_first_of("\\/:") != std::string::npos) abort();
  }
  if (kebo::unescapeParam(value).size() > value.size()) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view separator = data[0] & 1 ? kebo::kAnswerSeparator : kebo::kParamSeparator;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  kebo::PairList list(separator);
  list.parseForward(text);
  for (const auto& pair : list.pairs()) {
    checkPath(pair.value);
    if (pair.key.find(separator) != std::string::npos || pair.value.find(separator) != std::string::npos) abort();
  }
  const std::string written = list.serialise();
  if (written.compare(0, text.size(), text) != 0) abort();
  for (size_t at = text.size(); at < written.size(); at += separator.size())
    if (written.compare(at, separator.size(), separator) != 0) abort();
  if (text.empty() != list.empty()) abort();
  if (kebo::gatherLaunchText(list).size() > kebo::kLaunchTextLimit) abort();
  return 0;
}
