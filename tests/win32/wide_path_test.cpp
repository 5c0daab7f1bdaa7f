#include "platform/win32/wide_path.h"

#include <gtest/gtest.h>

#include "platform/win32/win.h"

namespace platform::win32 {
namespace {

TEST(VerbatimPath, TakesPlainAbsolutePathsExactly) {
  EXPECT_EQ(VerbatimPath("C:\\"), L"\\\\?\\C:\\");
  EXPECT_EQ(VerbatimPath("T:\\dir\\name. "), L"\\\\?\\T:\\dir\\name. ");  // not trimmed
  EXPECT_EQ(VerbatimPath("T:\\dir\\nul"), L"\\\\?\\T:\\dir\\nul");        // no device
  EXPECT_EQ(VerbatimPath("\\\\server\\share\\x"), L"\\\\?\\UNC\\server\\share\\x");
  EXPECT_EQ(VerbatimPath("\\\\?\\T:\\x"), L"\\\\?\\T:\\x");
}

TEST(VerbatimPath, ResolvesRelativeAndDottedPaths) {
  ASSERT_TRUE(::SetCurrentDirectoryW(L"T:\\"));
  EXPECT_EQ(VerbatimPath("data\\x.dat"), L"\\\\?\\T:\\data\\x.dat");
  EXPECT_EQ(VerbatimPath("T:\\a\\..\\b\\.\\c"), L"\\\\?\\T:\\b\\c");
  EXPECT_EQ(VerbatimPath("T:/a/b"), L"\\\\?\\T:\\a\\b");
  ::SetCurrentDirectoryW(L"C:\\");
}

TEST(VerbatimPath, RejectsWhatCannotNameAFile) {
  EXPECT_FALSE(VerbatimPath(""));
  EXPECT_FALSE(VerbatimPath("T:\\bad\xFF"));
  EXPECT_FALSE(VerbatimPath(std::string("T:\\a\0b", 6)));
  EXPECT_FALSE(VerbatimPath("nul"));
}

TEST(Narrow, KeepsLoneSurrogates) {
  const std::wstring name = {L'a', static_cast<wchar_t>(0xD800), L'b'};
  const std::string narrow = Narrow(name);
  EXPECT_EQ(Widen(narrow), name);
}

}  // namespace
}  // namespace platform::win32
