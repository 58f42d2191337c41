// Command-line options of the zkv6 tool: "--name value" pairs, "--flag"
// switches and positional arguments, checked against what a command accepts.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace zkv6 {

class Options {
 public:
  // valued: options that take a value; flags: options that take none.
  Options(std::set<std::string> valued, std::set<std::string> flags);

  // False, with error set, on an unknown option or a missing value.
  bool parse(const std::vector<std::string>& args, std::string& error);

  bool has(const std::string& name) const;
  std::string text(const std::string& name, const std::string& fallback = "") const;
  // A number in the option's value; false with error set when it is not one.
  bool number(const std::string& name, double fallback, double& out, std::string& error) const;
  bool integer(const std::string& name, long fallback, long min, long max, long& out,
               std::string& error) const;
  const std::vector<std::string>& positional() const { return positional_; }

 private:
  std::set<std::string> valued_, flags_;
  std::map<std::string, std::string> values_;
  std::vector<std::string> positional_;
};

}  // namespace zkv6
