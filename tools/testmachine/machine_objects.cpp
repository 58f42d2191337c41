// The values and objects the machine builds for callers, and the readers
// that take results apart.
#include <cstring>

#include "test_machine.h"
#include "values.h"

namespace testvm {

namespace {
constexpr const char* kWindowClassName = "TestMachineWindow";
}

TestMachine::ClassRegistration::~ClassRegistration() {
  if (atom != 0) UnregisterClassA(kWindowClassName, GetModuleHandleA(nullptr));
}

VmValue TestMachine::makeInt(int32_t n) { return vm::makeInt(n); }

VmValue TestMachine::makeRecord(const std::vector<int32_t>& words) {
  const int block = allocate(static_cast<int>(words.size()), kVmRawBlock);
  if (block < 0) {
    fault("machine memory full");
    return vm::kNil;
  }
  std::copy(words.begin(), words.end(), data(block));
  return vm::makeRef(block);
}

VmValue TestMachine::makeFloat(float f) { return makeRecord({vm::bitsFromFloat(f)}); }

VmValue TestMachine::makeString(const std::string& text) {
  std::vector<int32_t> words(1 + (text.size() + 1 + 3) / 4, 0);
  words[vmlayout::kStringLength] = static_cast<int32_t>(text.size());
  std::memcpy(words.data() + 1, text.data(), text.size());
  return makeRecord(words);
}

VmValue TestMachine::makeTuple(const std::vector<VmValue>& elements) {
  const int block = allocate(static_cast<int>(elements.size()), kVmTupleBlock);
  if (block < 0) {
    fault("machine memory full");
    return vm::kNil;
  }
  std::copy(elements.begin(), elements.end(), data(block));
  return vm::makeRef(block);
}

VmValue TestMachine::makeObject(int32_t kind, VmValue record) {
  std::vector<int32_t> words(vmlayout::kObjectWords, 0);
  words[vmlayout::kObjectKind] = kind;
  words[vmlayout::kObjectRecord] = record;
  return makeRecord(words);
}

VmValue TestMachine::makeBitmap(int width, int height) {
  if (width < 0 || height < 0) {
    fault("makeBitmap: size " + std::to_string(width) + "x" + std::to_string(height));
    return vm::kNil;
  }
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  pixelStores_.push_back(std::make_unique<uint16_t[]>(count > 0 ? count : 1));
  std::vector<int32_t> record(vmlayout::kBitmapRecordWords, 0);
  record[vmlayout::kBitmapWidth] = width;
  record[vmlayout::kBitmapHeight] = height;
  record[vmlayout::kBitmapPixels] =
      static_cast<int32_t>(reinterpret_cast<uintptr_t>(pixelStores_.back().get()));
  return makeObject(vmlayout::kBitmapKind, makeRecord(record));
}

VmValue TestMachine::makeWindow(int width, int height) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (windowClass_.atom == 0) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClassName;
    windowClass_.atom = RegisterClassA(&wc);
  }
  HWND window = CreateWindowExA(0, kWindowClassName, "test machine", WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr, nullptr,
                                instance, nullptr);
  if (window == nullptr) {
    fault("makeWindow: CreateWindowEx failed with error " + std::to_string(GetLastError()));
    return vm::kNil;
  }
  windows_.emplace_back(window);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  pumpMessages();
  return makeWindow(window);
}

VmValue TestMachine::makeWindow(HWND window) {
  std::vector<int32_t> record(vmlayout::kWindowRecordWords, 0);
  record[vmlayout::kWindowHandle] = static_cast<int32_t>(reinterpret_cast<uintptr_t>(window));
  return makeObject(vmlayout::kWindowKind, makeRecord(record));
}

VmValue TestMachine::makeFile(HANDLE file) {
  return makeRecord({static_cast<int32_t>(reinterpret_cast<uintptr_t>(file))});
}

float TestMachine::floatOf(VmValue v) {
  const BlockInfo* info = checkRef("floatOf", v);
  if (info == nullptr) return 0.0f;
  if (info->kind != kVmRawBlock || info->words != 1) {
    fault("floatOf: block " + std::to_string(vm::blockOf(v)) + " is not a float");
    return 0.0f;
  }
  return vm::floatFromBits(data(vm::blockOf(v))[0]);
}

std::string TestMachine::stringOf(VmValue v) {
  const BlockInfo* info = checkRef("stringOf", v);
  if (info == nullptr) return "";
  const int32_t* words = data(vm::blockOf(v));
  const int32_t length = info->words > 0 ? words[vmlayout::kStringLength] : -1;
  const int64_t room = (static_cast<int64_t>(info->words) - 1) * 4;
  if (info->kind != kVmRawBlock || length < 0 || length >= room) {
    fault("stringOf: block " + std::to_string(vm::blockOf(v)) + " is not a string");
    return "";
  }
  const auto* chars = reinterpret_cast<const char*>(words + 1);
  if (chars[length] != '\0') fault("stringOf: string without its zero byte");
  return std::string(chars, static_cast<size_t>(length));
}

std::vector<VmValue> TestMachine::tupleOf(VmValue v) {
  const BlockInfo* info = checkRef("tupleOf", v);
  if (info == nullptr) return {};
  if (info->kind != kVmTupleBlock) {
    fault("tupleOf: block " + std::to_string(vm::blockOf(v)) + " is not a tuple");
    return {};
  }
  const int32_t* words = data(vm::blockOf(v));
  return std::vector<VmValue>(words, words + info->words);
}

bool TestMachine::isFloat(VmValue v) const {
  auto info = blockInfo(v);
  return info && info->kind == kVmRawBlock && info->words == 1;
}

bool TestMachine::isBitmap(VmValue v) const {
  auto object = blockInfo(v);
  if (!object || object->words < vmlayout::kObjectWords) return false;
  const int32_t* words = memory_.get() + vm::blockOf(v) + vmlayout::kHeaderWords;
  if (words[vmlayout::kObjectKind] != vmlayout::kBitmapKind) return false;
  auto record = blockInfo(words[vmlayout::kObjectRecord]);
  return record && record->words >= vmlayout::kBitmapRecordWords;
}

uint16_t* TestMachine::bitmapPixels(VmValue bitmap) {
  if (!isBitmap(bitmap)) {
    fault("bitmapPixels: value " + std::to_string(bitmap) + " is not a bitmap");
    return nullptr;
  }
  const VmValue record = data(vm::blockOf(bitmap))[vmlayout::kObjectRecord];
  const auto address = static_cast<uint32_t>(data(vm::blockOf(record))[vmlayout::kBitmapPixels]);
  return reinterpret_cast<uint16_t*>(static_cast<uintptr_t>(address));
}

int TestMachine::bitmapWidth(VmValue bitmap) {
  if (!isBitmap(bitmap)) {
    fault("bitmapWidth: value " + std::to_string(bitmap) + " is not a bitmap");
    return 0;
  }
  const VmValue record = data(vm::blockOf(bitmap))[vmlayout::kObjectRecord];
  return data(vm::blockOf(record))[vmlayout::kBitmapWidth];
}

int TestMachine::bitmapHeight(VmValue bitmap) {
  if (!isBitmap(bitmap)) {
    fault("bitmapHeight: value " + std::to_string(bitmap) + " is not a bitmap");
    return 0;
  }
  const VmValue record = data(vm::blockOf(bitmap))[vmlayout::kObjectRecord];
  return data(vm::blockOf(record))[vmlayout::kBitmapHeight];
}

int32_t TestMachine::word(VmValue ref, int k) {
  if (checkRef("word", ref) == nullptr) return 0;
  return checkWord("word", vm::blockOf(ref), k) ? data(vm::blockOf(ref))[k] : 0;
}

}  // namespace testvm
