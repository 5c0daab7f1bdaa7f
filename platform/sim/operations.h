// Every System operation, and those of the registry keys it opens: the sim counts the calls of
// each, and the fault injector can make each fail.
#pragma once

#include <cstddef>
#include <iterator>

namespace platform::sim {

enum class Op {
  kReadFile,
  kWriteFile,
  kReplaceFile,
  kDeleteFile,
  kRemoveFolder,
  kMoveToRecycleBin,
  kListFolder,
  kLookUp,
  kStatus,
  kCurrentDirectory,
  kGetDriveType,
  kDrives,
  kIsAdministrator,
  kProcessRunning,
  kRegisterWindowMessage,
  kCreateNamedSemaphore,
  kBroadcastMessage,
  kTempFolder,
  kWindowsFolder,
  kSpecialFolder,
  kFullPathName,
  kOpenRegistryKey,
  kRegistryValueNames,
  kReadRegistryValue,
  kDeleteRegistryValue,
  kListUrlCache,
  kDeleteUrlCacheItem,
  kShellOpen,
  kEmptyRecycleBin,
  kQueryRecycleBin,
  kClearRecentDocuments,
  kWriteNewFile,
  kReadFileStart,
  kFinalPath,
  kIsHostRootDrive,
  kEnvironmentVariable,
  kProgramFolder,
  kCreateFolder,
  kRegistryKeyExists,
  kRegistrySubKeyNames,
  kDeleteRegistrySubKeyTree,
  kGetWindowsVersion,
  kCount
};

// The name of an operation, for test messages.
inline const char* NameOf(Op op) {
  static constexpr const char* kNames[] = {"ReadFile",
                                           "WriteFile",
                                           "ReplaceFile",
                                           "DeleteFile",
                                           "RemoveFolder",
                                           "MoveToRecycleBin",
                                           "ListFolder",
                                           "LookUp",
                                           "Status",
                                           "CurrentDirectory",
                                           "GetDriveType",
                                           "Drives",
                                           "IsAdministrator",
                                           "ProcessRunning",
                                           "RegisterWindowMessage",
                                           "CreateNamedSemaphore",
                                           "BroadcastMessage",
                                           "TempFolder",
                                           "WindowsFolder",
                                           "SpecialFolder",
                                           "FullPathName",
                                           "OpenRegistryKey",
                                           "RegistryValueNames",
                                           "ReadRegistryValue",
                                           "DeleteRegistryValue",
                                           "ListUrlCache",
                                           "DeleteUrlCacheItem",
                                           "ShellOpen",
                                           "EmptyRecycleBin",
                                           "QueryRecycleBin",
                                           "ClearRecentDocuments",
                                           "WriteNewFile",
                                           "ReadFileStart",
                                           "FinalPath",
                                           "IsHostRootDrive",
                                           "EnvironmentVariable",
                                           "ProgramFolder",
                                           "CreateFolder",
                                           "RegistryKeyExists",
                                           "RegistrySubKeyNames",
                                           "DeleteRegistrySubKeyTree",
                                           "GetWindowsVersion"};
  static_assert(std::size(kNames) == static_cast<std::size_t>(Op::kCount));
  const auto index = static_cast<std::size_t>(op);
  return index < std::size(kNames) ? kNames[index] : "?";
}

}  // namespace platform::sim
