#include "launch_params.h"

namespace kebo {

std::string unescapeParam(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '#') {
      out += '"';
    } else if (c == '\\') {
      if (i + 1 < text.size()) out += text[++i];
    } else {
      out += c;
    }
  }
  return out;
}

std::string gatherLaunchText(const PairList& parameters) {
  std::string text;
  for (int n = 0; n < 50; ++n) {
    std::string key = "paramsapp";
    if (n > 0) key += std::to_string(n);
    const PairList::Pair* p = parameters.find(key);
    if (!p) continue;
    std::string part = unescapeParam(p->value);
    if (text.size() + part.size() > kLaunchTextLimit) break;
    text += part;
  }
  return text;
}

}  // namespace kebo
