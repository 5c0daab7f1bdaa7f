// A crash never waits for a person: under Wine a crashed program waits for the debugger forever
// unless it handles the crash itself, which would hang a scheduled run for good.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "tests/win32/program_driver.h"
#include "tests/win32/test_files.h"

namespace testing_program {
namespace {

TEST(CrashTest, EveryUnhandledFailureEndsAtOnceWithItsExitCodeAndALine) {
  const std::string folder = "T:\\crash";
  testing_win32::MakeFolder(folder);
  for (const char* how : {"fault", "exception", "abort", "window"}) {
    SCOPED_TRACE(how);
    const CommandRun run = RunBesideTests("dustorix_crash.exe", how, folder);
    EXPECT_EQ(run.exitCode, app::kExitCrashed) << "-1: it waited, for a debugger most likely";
    EXPECT_EQ(run.err.rfind("dustorix: stopped by an unexpected error (", 0), 0u) << run.err;
    EXPECT_TRUE(run.err.ends_with(")\r\n")) << run.err;
  }
  // Without a failure the handling changes nothing.
  const CommandRun quiet = RunBesideTests("dustorix_crash.exe", "none", folder);
  EXPECT_EQ(quiet.exitCode, 0);
  EXPECT_EQ(quiet.err, "");
  testing_win32::RemoveTree(folder);
}

}  // namespace
}  // namespace testing_program
