// What Windows 10 and 11 leave beyond the update and log folders: error reports, crash dumps
// and shader caches, often several gigabytes together.
#include "cleanups/paths.h"
#include "cleanups/special_cleanups.h"

namespace cleanups {

namespace {

// Below the local and the common application data folders alike.
constexpr const char* kErrorReportFolders[] = {
    "Microsoft\\Windows\\WER\\ReportArchive",
    "Microsoft\\Windows\\WER\\ReportQueue",
    "Microsoft\\Windows\\WER\\Temp",
};

// Below the local application data folder; each is rebuilt by the one that made it.
constexpr const char* kShaderCacheFolders[] = {
    "D3DSCache",    "NVIDIA\\DXCache", "NVIDIA\\GLCache",
    "AMD\\DxCache", "AMD\\DxcCache",   "AMD\\GLCache",
};

// A place below a shell folder; empty (to be skipped) when the folder is relative or missing,
// which would put the place into the program's folder or at the root of a drive.
std::string Below(const std::string& folder, std::string_view tail) {
  return IsAbsolutePath(folder) ? Under(folder, tail) : std::string();
}

}  // namespace

void SpecialCleanups::EmptyErrorReportFolders(const std::string& appData) {
  for (const char* folder : kErrorReportFolders)
    EmptyPlace(Below(appData, folder), appData);
}

void SpecialCleanups::ErrorReports() {
  const std::string local = system_.SpecialFolder(platform::csidl::kLocalAppData);
  EmptyErrorReportFolders(local);
  EmptyPlace(Below(local, "CrashDumps"), local);
  // The system's reports and dumps belong to the administrators; others keep their own part.
  if (!userIsAdmin_) return;
  EmptyErrorReportFolders(system_.SpecialFolder(platform::csidl::kCommonAppData));
  if (run_.Stopped()) return;
  DeleteCountedFile(InWindowsFolder("MEMORY.DMP"));
  EmptyPlace(InWindowsFolder("Minidump"), InWindowsFolder({}));
  EmptyPlace(InWindowsFolder("LiveKernelReports"), InWindowsFolder({}));
}

void SpecialCleanups::ShaderCaches() {
  const std::string local = system_.SpecialFolder(platform::csidl::kLocalAppData);
  for (const char* folder : kShaderCacheFolders)
    EmptyPlace(Below(local, folder), local);
}

}  // namespace cleanups
