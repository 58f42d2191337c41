// An ordered list of (key, value) pairs with a two-character separator: the
// form of the server's answers ("$$") and of the parameter lists sent to or
// kept for the server ("\xA3\xA3").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kebo {

inline constexpr std::string_view kAnswerSeparator = "$$";
inline constexpr std::string_view kParamSeparator = "\xA3\xA3";

// Key comparison of the pair lists: equal length, only a-z folded.
bool sameKey(std::string_view a, std::string_view b);

class PairList {
 public:
  struct Pair {
    std::string key;
    std::string value;
    bool hidden = false;  // left out of serialise()
  };

  explicit PairList(std::string_view separator = kParamSeparator) : separator_(separator) {}

  // The first pair with this key, or null.
  const Pair* find(std::string_view key) const;
  bool has(std::string_view key) const { return find(key) != nullptr; }
  // The value of the key, or fallback when the key is absent.
  std::string_view value(std::string_view key, std::string_view fallback = {}) const;
  // Decimal value (leading sign and digits, as atol reads it); 0 when absent.
  long number(std::string_view key, long fallback = 0) const;

  // Replaces the value of an existing key, else appends the pair.
  void set(std::string_view key, std::string_view value);
  // Appends the pair even when the key exists (lookups keep finding the first).
  void append(std::string_view key, std::string_view value);
  void hide(std::string_view key);
  void clear() { pairs_.clear(); }

  // Reads "key SEP value SEP key SEP value ..." from the start of the text
  // and appends each pair, repeated keys included (a launch list holds one
  // "CMD" pair per command); a separator at the very end closes the list,
  // and a last key without its value gets an empty one.
  void parseForward(std::string_view text);
  // "key SEP value SEP" for every pair that is not hidden.
  std::string serialise() const;

  const std::vector<Pair>& pairs() const { return pairs_; }
  std::string_view separator() const { return separator_; }
  bool empty() const { return pairs_.empty(); }

 private:
  std::string separator_;
  std::vector<Pair> pairs_;
};

// Reads a decimal number as atol does: spaces, a sign, digits; 0 when none.
long parseDecimal(std::string_view text);

}  // namespace kebo
