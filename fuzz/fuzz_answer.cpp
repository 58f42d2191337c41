// Any bytes as a server answer: the parser reads only inside the text, and
// what it finds is a payload before the action block plus the pairs.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "answer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto answer = kebo::parseAnswer(text);
  if (answer) {
    if (answer->payload.size() + 8 > text.size()) abort();
    const auto& last = answer->pairs.pairs().back();
    if (!kebo::sameKey(last.key, "cmd") || !kebo::sameKey(last.value, "eop")) abort();
    kebo::PairList copy = answer->pairs;
    copy.parseForward(answer->payload);
    (void)copy.serialise();
  }
  return 0;
}
