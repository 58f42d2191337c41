// ZKV6header, ZKV6readWarp and ZKV6readIX: the script reads a ZKV6 file
// strictly forward from its current position, the header first, then one
// frame per call. Each frame costs exactly two reads (the frame word, then
// the rest into one heap block) and is decoded from memory.
#include <windows.h>

#include <cstring>
#include <memory>

#include "file_header.h"
#include "frame_walker.h"
#include "ostrel_machine.h"
#include "pictures.h"

namespace {

using namespace ostrel;

HANDLE fileHandle(VmMachine* m, VmValue file) {
  return reinterpret_cast<HANDLE>(
      static_cast<uintptr_t>(static_cast<uint32_t>(vm::field(*gVm, m, file, vmlayout::kFileHandle))));
}

// Reads up to size bytes; what the file did not hold stays as it was.
DWORD readBytes(HANDLE file, void* into, DWORD size) {
  DWORD got = 0;
  if (!ReadFile(file, into, size, &got, nullptr)) return 0;
  return got;
}

struct HeapFree {
  void operator()(uint8_t* p) const { ::HeapFree(GetProcessHeap(), 0, p); }
};
using FrameMemory = std::unique_ptr<uint8_t, HeapFree>;

// Reads the next frame and decodes its picture chunks with decode(bytes,
// size). The frame's memory is freed on every path.
template <typename Decode>
int readFrame(VmMachine* m, VmValue file, Decode&& decode) {
  const HANDLE handle = fileHandle(m, file);
  uint8_t word[4] = {};
  readBytes(handle, word, sizeof word);
  const int64_t size = video::frameDataBytes(video::readLe32(word));
  if (size < 0) return pushResult(m, vm::makeInt(video::kNoMemory));
  FrameMemory frame(static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(size))));
  if (!frame) return pushResult(m, vm::makeInt(video::kNoMemory));
  // A file that ends inside the frame gives the bytes it held.
  const DWORD got = readBytes(handle, frame.get(), static_cast<DWORD>(size));
  return pushResult(m, vm::makeInt(decode(frame.get(), static_cast<size_t>(got))));
}

// Undoes a partly built result: removes what was pushed, leaves nil, and
// answers the failed call's code.
int abandon(VmMachine* m, int pushed, int code) {
  while (pushed-- > 0) gVm->vmPop(m);
  gVm->vmPush(m, vm::kNil);
  return code;
}

}  // namespace

extern "C" int VMCALL ZKV6header(VmMachine* m) {
  const VmValue file = gVm->vmPop(m);
  if (!vm::isRef(file)) return pushResult(m, vm::kNil);
  uint8_t bytes[zkv6::kFileHeaderBytes] = {};
  readBytes(fileHandle(m, file), bytes, zkv6::kFileHeaderBytes);
  const zkv6::FileHeader header = zkv6::readFileHeader(bytes);

  // [signature, [width, height], frame count]
  int pushed = 0;
  if (int code = gVm->vmPushString(m, header.signature.c_str()); code < 0) return abandon(m, pushed, code);
  ++pushed;
  const VmValue pair[] = {vm::makeInt(header.width), vm::makeInt(header.height), vm::makeInt(2)};
  for (VmValue v : pair) {
    if (gVm->vmPush(m, v) < 0) return abandon(m, pushed, -1);
    ++pushed;
  }
  if (int code = gVm->vmMakeTuple(m); code < 0) return abandon(m, pushed, code);
  pushed -= 2;
  for (VmValue v : {vm::makeInt(header.frameCount), vm::makeInt(3)}) {
    if (gVm->vmPush(m, v) < 0) return abandon(m, pushed, -1);
    ++pushed;
  }
  if (int code = gVm->vmMakeTuple(m); code < 0) return abandon(m, pushed, code);
  return 0;
}

extern "C" int VMCALL ZKV6readWarp(VmMachine* m) {
  uint16_t* panorama = vm::bitmapPixels(*gVm, m, gVm->vmPop(m), video::kIwWidth, video::kIwHeight);
  const VmValue file = gVm->vmPop(m);
  if (!vm::isRef(file) || !panorama) return pushResult(m, vm::kNil);
  return readFrame(m, file, [&](const uint8_t* bytes, size_t size) {
    return video::decodeIWFrame(bytes, size, panorama);
  });
}

extern "C" int VMCALL ZKV6readIX(VmMachine* m) {
  const uint16_t* reference = vm::bitmapPixels(*gVm, m, gVm->vmPop(m), video::kIxWidth, video::kIxHeight);
  uint16_t* current = vm::bitmapPixels(*gVm, m, gVm->vmPop(m), video::kIxWidth, video::kIxHeight);
  const VmValue file = gVm->vmPop(m);
  if (!vm::isRef(file) || !current || !reference) return pushResult(m, vm::kNil);
  return readFrame(m, file, [&](const uint8_t* bytes, size_t size) {
    return video::decodeIXFrame(bytes, size, current, reference);
  });
}
