#include "value_format.h"

#include <cstdio>
#include <cstring>

#include "values.h"

namespace testvm {

namespace {

constexpr int kMaxDepth = 32;

class Formatter {
 public:
  Formatter(const TestMachine& machine, std::vector<std::string>& problems)
      : machine_(machine), problems_(problems) {}

  std::string format(VmValue v, const Type& type, int depth) {
    if (vm::isNil(v)) return "nil";
    if (depth > kMaxDepth) return mismatch("tuples nested too deep", "?deep");
    if (type.kind == Type::Kind::Name && type.name == "I") {
      return vm::isInt(v) ? std::to_string(vm::intOf(v)) : mismatch(v, type);
    }
    auto info = machine_.blockInfo(v);
    if (!info) return mismatch(v, type);
    const int32_t* words = wordsOf(v);
    if (type.kind == Type::Kind::Tuple) return formatTuple(v, *info, words, type, depth);
    if (type.kind == Type::Kind::Name && type.name == "F") {
      if (!machine_.isFloat(v)) return mismatch(v, type);
      char text[32];
      std::snprintf(text, sizeof text, "%g", static_cast<double>(vm::floatFromBits(words[0])));
      return text;
    }
    if (type.kind == Type::Kind::Name && (type.name == "S" || type.name == "P")) {
      return formatString(v, *info, words, type);
    }
    const std::string name = type.kind == Type::Kind::Name ? type.name : "fun";
    return "<" + name + " block " + std::to_string(vm::blockOf(v)) + ">";
  }

 private:
  const int32_t* wordsOf(VmValue ref) const { return machine_.blockWords(ref); }

  std::string formatTuple(VmValue v, const TestMachine::BlockInfo& info, const int32_t* words,
                          const Type& type, int depth) {
    if (info.kind != kVmTupleBlock || info.words != static_cast<int>(type.elements.size())) {
      return mismatch(v, type);
    }
    std::string text = "[";
    for (int k = 0; k < info.words; ++k) {
      if (k > 0) text += ' ';
      text += format(words[k], type.elements[k], depth + 1);
    }
    return text + "]";
  }

  std::string formatString(VmValue v, const TestMachine::BlockInfo& info, const int32_t* words,
                           const Type& type) {
    const int64_t room = (static_cast<int64_t>(info.words) - 1) * 4;
    const int32_t length = info.words > 0 ? words[vmlayout::kStringLength] : -1;
    if (info.kind != kVmRawBlock || length < 0 || length >= room) return mismatch(v, type);
    const auto* chars = reinterpret_cast<const char*>(words + 1);
    if (chars[length] != '\0') mismatch("string without its zero byte", "");
    return quoted(std::string(chars, static_cast<size_t>(length)));
  }

  std::string mismatch(VmValue v, const Type& type) {
    const std::string shown = vm::isInt(v) ? "?int " + std::to_string(vm::intOf(v))
                                           : "?block " + std::to_string(vm::blockOf(v));
    return mismatch("value " + std::to_string(v) + " is not of type " + typeText(type), shown);
  }

  std::string mismatch(const std::string& problem, const std::string& shown) {
    problems_.push_back(problem);
    return shown;
  }

  const TestMachine& machine_;
  std::vector<std::string>& problems_;
};

}  // namespace

std::string formatValue(const TestMachine& machine, VmValue value, const Type& type,
                        std::vector<std::string>& problems) {
  return Formatter(machine, problems).format(value, type, 0);
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace testvm
