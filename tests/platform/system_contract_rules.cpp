// The System operations the application rules add: registry keys asked for read-only in every
// root, subkeys listed and deleted with all below them, and the Windows version detection
// takes. Alike on the sim and on win32.
#include <algorithm>

#include "settings/list_file.h"
#include "tests/platform/contract_world.h"

namespace testing_world {
namespace {

using platform::RegistryRoot;
using platform::RegistryValue;

std::string Lower(std::string_view text) {
  return settings::LowerAsciiLetters(std::string(text));
}

TEST_P(SystemContract, RegistryKeysAreFoundInEveryRootWithoutCreatingOne) {
  const std::string ours = World().RegistryTestKey();
  // HKEY_USERS holds the profiles; .DEFAULT is the one every system has.
  const std::pair<RegistryRoot, std::string> keys[] = {{RegistryRoot::kCurrentUser, ours},
                                                       {RegistryRoot::kLocalMachine, ours},
                                                       {RegistryRoot::kClassesRoot, ours},
                                                       {RegistryRoot::kUsers, ".DEFAULT\\" + ours}};
  for (const auto& [root, key] : keys) {
    SCOPED_TRACE(key);
    EXPECT_FALSE(Sys().RegistryKeyExists(root, key + "\\Detect"));
    EXPECT_FALSE(World().RegistryKeyExists(root, key + "\\Detect"));
    World().SetRegistryValue(root, key + "\\Detect\\Below", "v", RegistryValue::FromDword(1));
    EXPECT_TRUE(Sys().RegistryKeyExists(root, key + "\\Detect"));
    EXPECT_TRUE(Sys().RegistryKeyExists(root, Lower(key) + "\\DETECT\\below"));
    EXPECT_FALSE(Sys().RegistryKeyExists(root, key + "\\Detect\\Below\\v"));  // a value, no key
  }
  EXPECT_FALSE(Sys().RegistryKeyExists(RegistryRoot::kCurrentUser, std::string("a\0b", 3)));
}

TEST_P(SystemContract, ASubKeyIsDeletedWithAllBelowItAndNothingElse) {
  const std::string key = World().RegistryTestKey() + "\\Tree";
  const RegistryRoot user = RegistryRoot::kCurrentUser;
  World().SetRegistryValue(user, key, "kept", RegistryValue::FromText("x"));
  World().SetRegistryValue(user, key + "\\Recent\\Deeper\\Deepest", "a",
                           RegistryValue::FromText("x"));
  World().SetRegistryValue(user, key + "\\Recent", "b", RegistryValue::FromText("x"));
  World().SetRegistryValue(user, key + "\\Settings", "c", RegistryValue::FromText("x"));

  std::unique_ptr<platform::RegistryKey> opened = Sys().OpenRegistryKey(user, key);
  ASSERT_TRUE(opened);
  std::vector<std::string> names = opened->SubKeyNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Recent", "Settings"}));

  EXPECT_FALSE(opened->DeleteSubKeyTree(""));  // would empty the key itself
  EXPECT_FALSE(opened->DeleteSubKeyTree("Recent\\Deeper"));
  EXPECT_TRUE(World().RegistryKeyExists(user, key + "\\Recent\\Deeper"));
  EXPECT_TRUE(opened->DeleteSubKeyTree("RECENT"));
  EXPECT_FALSE(World().RegistryKeyExists(user, key + "\\Recent"));
  EXPECT_FALSE(World().RegistryKeyExists(user, key + "\\Recent\\Deeper\\Deepest"));
  EXPECT_TRUE(World().RegistryKeyExists(user, key + "\\Settings"));
  EXPECT_TRUE(World().RegistryValueExists(user, key, "kept"));
  EXPECT_EQ(opened->SubKeyNames(), (std::vector<std::string>{"Settings"}));
  EXPECT_FALSE(opened->DeleteSubKeyTree("Recent"));
}

TEST_P(SystemContract, TheWindowsVersionIsTold) {
  const std::optional<platform::WindowsVersion> version = Sys().GetWindowsVersion();
  ASSERT_TRUE(version);
  EXPECT_GE(version->major, 6u);  // Windows 7 is 6.1
}

}  // namespace
}  // namespace testing_world
