#include "pair_list.h"

#include <climits>

namespace kebo {

namespace {
char fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool sameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

long parseDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    int digit = text[i] - '0';
    // Saturates instead of wrapping.
    value = value > (LONG_MAX - digit) / 10 ? LONG_MAX : value * 10 + digit;
  }
  return negative ? -value : value;
}

const PairList::Pair* PairList::find(std::string_view key) const {
  for (const Pair& p : pairs_) {
    if (sameKey(p.key, key)) return &p;
  }
  return nullptr;
}

std::string_view PairList::value(std::string_view key, std::string_view fallback) const {
  const Pair* p = find(key);
  return p ? std::string_view(p->value) : fallback;
}

long PairList::number(std::string_view key, long fallback) const {
  const Pair* p = find(key);
  return p ? parseDecimal(p->value) : fallback;
}

void PairList::set(std::string_view key, std::string_view value) {
  for (Pair& p : pairs_) {
    if (sameKey(p.key, key)) {
      p.value = value;
      return;
    }
  }
  pairs_.push_back(Pair{std::string(key), std::string(value), false});
}

void PairList::append(std::string_view key, std::string_view value) {
  pairs_.push_back(Pair{std::string(key), std::string(value), false});
}

void PairList::hide(std::string_view key) {
  for (Pair& p : pairs_) {
    if (sameKey(p.key, key)) p.hidden = true;
  }
}

void PairList::parseForward(std::string_view text) {
  std::vector<std::string_view> tokens;
  std::size_t start = 0;
  while (!separator_.empty()) {
    std::size_t at = text.find(separator_, start);
    if (at == std::string_view::npos) {
      if (start < text.size()) tokens.push_back(text.substr(start));
      break;
    }
    tokens.push_back(text.substr(start, at - start));
    start = at + separator_.size();
  }
  if (separator_.empty() && !text.empty()) tokens.push_back(text);
  for (std::size_t i = 0; i < tokens.size(); i += 2) {
    append(tokens[i], i + 1 < tokens.size() ? tokens[i + 1] : std::string_view{});
  }
}

std::string PairList::serialise() const {
  std::string out;
  for (const Pair& p : pairs_) {
    if (p.hidden) continue;
    out += p.key;
    out += separator_;
    out += p.value;
    out += separator_;
  }
  return out;
}

}  // namespace kebo
