#include "code_path.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace codec {

namespace {

bool detectSse2() {
#if defined(__x86_64__)
  return true;
#elif defined(__i386__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse2");
#else
  return false;
#endif
}

CodePath initialPath() {
  const char* scalar = std::getenv("OSTREL_SCALAR");
  const bool forced = scalar != nullptr && *scalar != '\0' && std::strcmp(scalar, "0") != 0;
  return !forced && sse2Supported() ? CodePath::kSse2 : CodePath::kScalar;
}

std::atomic<CodePath> gPath{initialPath()};

}  // namespace

bool sse2Supported() {
  static const bool supported = detectSse2();
  return supported;
}

CodePath codePath() { return gPath.load(std::memory_order_relaxed); }

bool setCodePath(CodePath path) {
  if (path == CodePath::kSse2 && !sse2Supported()) return false;
  gPath.store(path, std::memory_order_relaxed);
  return true;
}

}  // namespace codec
