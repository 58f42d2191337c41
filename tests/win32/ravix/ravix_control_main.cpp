// The control tests run in an OLE apartment, with the control registered
// from the test folder (the registry is this run's own).
#include <gtest/gtest.h>

#include "ravix_support.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  OleInitialize(nullptr);
  if (GetEnvironmentVariableA(ravix_test::kUseRegisteredClass, nullptr, 0) != 0) {
    int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
  }
  HMODULE ravix = LoadLibraryA(ravix_test::testFolder().ravixPath.c_str());
  auto registerServer =
      reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(ravix, "DllRegisterServer")));
  if (registerServer == nullptr || FAILED(registerServer())) {
    fprintf(stderr, "Ravix.dll could not be registered from %s\n", ravix_test::testFolder().ravixPath.c_str());
    return 1;
  }
  int result = RUN_ALL_TESTS();
  OleUninitialize();
  return result;
}
