#include "options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace zkv6 {

Options::Options(std::set<std::string> valued, std::set<std::string> flags)
    : valued_(std::move(valued)), flags_(std::move(flags)) {}

bool Options::parse(const std::vector<std::string>& args, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    // "-5" is a value, not an option; "-o" is the one short option.
    const bool isOption = (a.size() > 2 && a.compare(0, 2, "--") == 0) || a == "-o";
    if (!isOption) {
      positional_.push_back(a);
      continue;
    }
    const std::string name = a == "-o" ? "-o" : a.substr(2);
    if (flags_.count(name)) {
      values_[name] = "";
    } else if (valued_.count(name)) {
      if (i + 1 >= args.size()) {
        error = "option " + a + " needs a value";
        return false;
      }
      values_[name] = args[++i];
    } else {
      error = "unknown option " + a;
      return false;
    }
  }
  return true;
}

bool Options::has(const std::string& name) const { return values_.count(name) != 0; }

std::string Options::text(const std::string& name, const std::string& fallback) const {
  auto it = values_.find(name);
  return it == values_.end() ? fallback : it->second;
}

bool Options::number(const std::string& name, double fallback, double& out, std::string& error) const {
  auto it = values_.find(name);
  if (it == values_.end()) {
    out = fallback;
    return true;
  }
  const char* s = it->second.c_str();
  char* end = nullptr;
  errno = 0;
  out = std::strtod(s, &end);
  if (end == s || *end != '\0' || errno == ERANGE || !std::isfinite(out)) {
    error = "--" + name + " needs a number, not \"" + it->second + "\"";
    return false;
  }
  return true;
}

bool Options::integer(const std::string& name, long fallback, long min, long max, long& out,
                      std::string& error) const {
  auto it = values_.find(name);
  if (it == values_.end()) {
    out = fallback;
    return true;
  }
  const char* s = it->second.c_str();
  char* end = nullptr;
  errno = 0;
  out = std::strtol(s, &end, 10);
  if (end == s || *end != '\0' || errno == ERANGE || out < min || out > max) {
    error = "--" + name + " needs a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
            ", not \"" + it->second + "\"";
    return false;
  }
  return true;
}

}  // namespace zkv6
