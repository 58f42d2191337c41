// Which form of the codec's hot loops runs: the SSE2 form where the
// processor has it, else the scalar one. Both give the same pixels, bit for
// bit. The choice is made when the program (or ostrel.dll) is loaded, from
// CPUID; the environment variable OSTREL_SCALAR set to anything but "0"
// forces the scalar forms. The codec is built for x86 processors only.
#pragma once

namespace codec {

enum class CodePath { kScalar, kSse2 };

CodePath codePath();
bool sse2Supported();

// Selects a path, as the tests do to run both; false, and nothing changed,
// when the processor lacks it.
bool setCodePath(CodePath path);

}  // namespace codec
