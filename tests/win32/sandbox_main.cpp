// The Windows tests delete and write files: they run only inside the sandbox that
// scripts/wine-test builds (a private prefix with a test drive and no Z: drive to the host).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/win32/win.h"

int main(int argc, char** argv) {
  const char* drive = std::getenv("DUSTORIX_TEST_DRIVE");
  if (drive == nullptr || std::string(drive) != "T:") {
    std::fprintf(stderr,
                 "refusing to run: DUSTORIX_TEST_DRIVE=T: is not set (use scripts/wine-test)\n");
    return 2;
  }
  if (::GetDriveTypeW(L"Z:\\") != DRIVE_NO_ROOT_DIR) {
    std::fprintf(stderr, "refusing to run: drive Z: exists, the prefix reaches the host\n");
    return 2;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
