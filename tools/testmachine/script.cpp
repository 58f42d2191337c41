#include "script.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>

#include "type_string.h"
#include "value_format.h"
#include "values.h"

namespace testvm {

namespace {

// A script line the runner cannot carry out.
struct ScriptError {
  std::string message;
};

constexpr long kMinInt = -(1L << 30);
constexpr long kMaxInt = (1L << 30) - 1;

bool parseWhole(const std::string& text, long& out) {
  if (text.empty()) return false;
  const char first = text[0];
  if (!(std::isdigit(static_cast<unsigned char>(first)) || first == '-' || first == '+')) {
    return false;
  }
  char* end = nullptr;
  errno = 0;
  out = std::strtol(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0' && end != text.c_str();
}

bool looksLikeFloat(const std::string& text) {
  return text.find_first_of(".eE") != std::string::npos && !text.empty() &&
         (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-' || text[0] == '+' ||
          text[0] == '.');
}

bool parseFloat(const std::string& text, float& out) {
  if (!looksLikeFloat(text)) return false;
  char* end = nullptr;
  out = std::strtof(text.c_str(), &end);
  return *end == '\0' && end != text.c_str();
}

bool isKeyword(const Token& token, const char* word) {
  return !token.quoted && token.text == word;
}

const Token& need(const std::vector<Token>& tokens, size_t at, const char* what) {
  if (at >= tokens.size()) throw ScriptError{std::string("missing ") + what};
  return tokens[at];
}

int parseCount(const Token& token, const char* what) {
  long n = 0;
  if (token.quoted || !parseWhole(token.text, n) || n < 0 || n > kMaxInt) {
    throw ScriptError{std::string("bad ") + what + " '" + token.text + "'"};
  }
  return static_cast<int>(n);
}

std::vector<char> readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ScriptError{"cannot open " + path};
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

ScriptRunner::ScriptRunner(TestMachine& machine, std::ostream& out, std::ostream& err)
    : machine_(machine), out_(out), err_(err) {}

void ScriptRunner::reportLoad(const std::string& plugin) {
  for (const TestMachine::Package& package : machine_.packages()) {
    int primitives = 0;
    for (const TestMachine::Entry& entry : package.entries) primitives += entry.opaque ? 0 : 1;
    out_ << "loaded " << plugin << ": " << primitives << " primitives in " << package.name
         << " (result " << machine_.loadResult() << ")\n";
  }
  if (machine_.packages().empty()) {
    out_ << "loaded " << plugin << ": 0 primitives in no package (result "
         << machine_.loadResult() << ")\n";
  }
  reportMachine();
}

int ScriptRunner::run(std::istream& script, const std::string& scriptName) {
  std::string text;
  int number = 0;
  while (std::getline(script, text)) {
    ++number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    try {
      std::string error;
      auto tokens = tokenize(text, error);
      if (!tokens) throw ScriptError{error};
      if (!tokens->empty()) runLine(Line{number, std::move(*tokens)});
    } catch (const ScriptError& e) {
      out_.flush();
      err_ << scriptName << ":" << number << ": " << e.message << "\n";
      return kRunScriptError;
    }
  }
  return sawFault_ ? kRunFaults : kRunClean;
}

void ScriptRunner::runLine(const Line& line) {
  const Token& first = line.tokens[0];
  if (isKeyword(first, "call")) return runCall(line);
  if (isKeyword(first, "save")) return runSave(line);
  if (isKeyword(first, "fail")) return runFail(line);
  size_t at = 0;
  const VmValue value = parseValue(line, at);
  if (at != line.tokens.size()) throw ScriptError{"unexpected '" + line.tokens[at].text + "'"};
  values_[line.number] = value;
  reportMachine();
}

void ScriptRunner::runCall(const Line& line) {
  const std::string& name = need(line.tokens, 1, "primitive name").text;
  const TestMachine::Entry* entry = machine_.findPrimitive(name);
  if (entry == nullptr) throw ScriptError{"unknown primitive " + name};
  std::vector<VmValue> args;
  for (size_t at = 2; at < line.tokens.size();) args.push_back(parseValue(line, at));
  if (static_cast<int>(args.size()) != entry->argCount) {
    throw ScriptError{name + " takes " + std::to_string(entry->argCount) + " arguments, not " +
                      std::to_string(args.size())};
  }
  checkArguments(*entry, args);

  const TestMachine::CallResult result = machine_.call(name, args);
  machine_.pumpMessages();
  values_[line.number] = result.value;

  std::vector<std::string> problems;
  const auto signature = parseSignature(entry->type);
  const Type resultType = signature ? signature->result : Type{Type::Kind::Name, "?", {}, {}};
  out_ << "[" << line.number << "] " << name << " -> "
       << formatValue(machine_, result.value, resultType, problems);
  if (result.code != 0) out_ << " (returned " << result.code << ")";
  out_ << "\n";
  for (std::string& problem : problems) problem = name + " result: " + problem;
  reportMachine(problems);
}

void ScriptRunner::checkArguments(const TestMachine::Entry& entry,
                                  const std::vector<VmValue>& args) const {
  const auto signature = parseSignature(entry.type);
  if (!signature || signature->params.size() != args.size()) return;
  for (size_t i = 0; i < args.size(); ++i) {
    const Type& param = signature->params[i];
    const VmValue v = args[i];
    if (vm::isNil(v)) continue;
    bool fits = vm::isRef(v);
    if (param.kind == Type::Kind::Name && param.name == "F") fits = machine_.isFloat(v);
    if (param.kind == Type::Kind::Name && param.name == "I") fits = vm::isInt(v);
    if (!fits) {
      throw ScriptError{"argument " + std::to_string(i + 1) + " of " + entry.name +
                        " must be " + typeText(param)};
    }
  }
}

void ScriptRunner::runSave(const Line& line) {
  const std::string& reference = need(line.tokens, 1, "$N").text;
  const std::string& path = need(line.tokens, 2, "file name").text;
  if (line.tokens.size() > 3) throw ScriptError{"unexpected '" + line.tokens[3].text + "'"};
  const VmValue bitmap = lookup(reference);
  if (!machine_.isBitmap(bitmap)) throw ScriptError{reference + " is not a bitmap"};
  const uint16_t* pixels = machine_.bitmapPixels(bitmap);
  const size_t count = static_cast<size_t>(machine_.bitmapWidth(bitmap)) *
                       static_cast<size_t>(machine_.bitmapHeight(bitmap));
  std::vector<char> bytes(count * 2);
  for (size_t i = 0; i < count; ++i) {
    bytes[2 * i] = static_cast<char>(pixels[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(pixels[i] >> 8);
  }
  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw ScriptError{"cannot write " + path};
}

void ScriptRunner::runFail(const Line& line) {
  const Token& what = need(line.tokens, 1, "alloc or push");
  const int n = parseCount(need(line.tokens, 2, "count"), "count");
  if (line.tokens.size() > 3) throw ScriptError{"unexpected '" + line.tokens[3].text + "'"};
  if (isKeyword(what, "alloc")) {
    machine_.failAllocAt(n);
  } else if (isKeyword(what, "push")) {
    machine_.failPushAt(n);
  } else {
    throw ScriptError{"fail takes alloc or push, not '" + what.text + "'"};
  }
}

bool ScriptRunner::startsValue(const Token& token) const {
  if (token.quoted) return true;
  const std::string& t = token.text;
  long n = 0;
  float f = 0;
  return t == "nil" || t == "bitmap" || t == "window" || t == "file" ||
         (t.size() > 1 && t[0] == '$') || parseWhole(t, n) || parseFloat(t, f);
}

VmValue ScriptRunner::parseValue(const Line& line, size_t& at) {
  const Token& token = need(line.tokens, at, "value");
  ++at;
  if (token.quoted) return machine_.makeString(token.text);
  const std::string& t = token.text;
  if (t == "nil") return vm::kNil;
  if (t == "bitmap") return parseBitmap(line, at);
  if (t == "window") return machine_.makeWindow();
  if (t == "file") return parseFile(line, at);
  if (t[0] == '$') return lookup(t);
  long n = 0;
  if (parseWhole(t, n)) {
    if (n < kMinInt || n > kMaxInt) throw ScriptError{"integer " + t + " out of range"};
    return machine_.makeInt(static_cast<int32_t>(n));
  }
  float f = 0;
  if (parseFloat(t, f)) return machine_.makeFloat(f);
  throw ScriptError{"bad value '" + t + "'"};
}

VmValue ScriptRunner::parseBitmap(const Line& line, size_t& at) {
  const int width = parseCount(need(line.tokens, at++, "bitmap width"), "bitmap width");
  const int height = parseCount(need(line.tokens, at++, "bitmap height"), "bitmap height");
  if (static_cast<int64_t>(width) * height > (int64_t{1} << 26)) {
    throw ScriptError{"bitmap too large"};
  }
  std::vector<char> bytes;
  const bool fromFile = at < line.tokens.size() && !startsValue(line.tokens[at]);
  if (fromFile) {
    const std::string& path = line.tokens[at++].text;
    bytes = readWholeFile(path);
    const size_t expected = static_cast<size_t>(width) * static_cast<size_t>(height) * 2;
    if (bytes.size() != expected) {
      throw ScriptError{path + " has " + std::to_string(bytes.size()) + " bytes, not " +
                        std::to_string(expected)};
    }
  }
  const VmValue bitmap = machine_.makeBitmap(width, height);
  uint16_t* pixels = machine_.bitmapPixels(bitmap);
  if (pixels != nullptr) {
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
      pixels[i / 2] = static_cast<uint16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
  }
  return bitmap;
}

VmValue ScriptRunner::parseFile(const Line& line, size_t& at) {
  const std::string& path = need(line.tokens, at++, "file path").text;
  UniqueHandle file = adoptFileHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                  nullptr, OPEN_EXISTING,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw ScriptError{"cannot open " + path};
  const VmValue value = machine_.makeFile(file.get());
  files_.push_back(std::move(file));
  return value;
}

VmValue ScriptRunner::lookup(const std::string& reference) const {
  long n = 0;
  if (reference.size() < 2 || reference[0] != '$' || !parseWhole(reference.substr(1), n)) {
    throw ScriptError{"bad reference '" + reference + "'"};
  }
  auto it = values_.find(static_cast<int>(n));
  if (it == values_.end()) throw ScriptError{reference + " undefined"};
  return it->second;
}

void ScriptRunner::reportMachine(const std::vector<std::string>& moreFaults) {
  for (const std::string& line : machine_.logLines()) out_ << "log: " << line << "\n";
  machine_.clearLog();
  std::vector<std::string> faults = machine_.faults();
  faults.insert(faults.end(), moreFaults.begin(), moreFaults.end());
  for (const std::string& fault : faults) out_ << "fault: " << fault << "\n";
  if (!faults.empty()) sawFault_ = true;
  machine_.clearFaults();
}

}  // namespace testvm
