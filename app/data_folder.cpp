#include "app/data_folder.h"

#include <algorithm>
#include <vector>

#include "platform/wildcard.h"
#include "settings/settings_files.h"

namespace app {

namespace {

constexpr std::string_view kData = "data";

bool IsFolder(platform::System& system, const std::string& path) {
  const std::optional<platform::FileStatus> status = system.Status(path);
  return status && status->IsDirectory();
}

// Whether the user may make files in the folder: asked by making one, as nothing else tells
// (the read-only attribute of a folder means nothing, its rights are what count).
bool CanWriteIn(platform::System& system, const std::string& folder) {
  const std::string probe = folder + "\\write-check.new";
  if (!system.WriteFile(probe, {})) return false;
  system.DeleteFile(probe);
  return true;
}

// The user's own settings, as opposed to the program's data (language files, default lists):
// a copy keeps the first as the user left them and takes the second anew from each version.
bool IsUsersSetting(std::string_view relative) {
  for (std::string_view setting : {settings::kFileFormatPath, settings::kExceptionPath,
                                   settings::kAdvancedOptionPath, settings::kWhichLangPath}) {
    if (platform::SameName(relative, setting.substr(kData.size() + 1))) return true;
  }
  return false;
}

// Copies what the user's copy lacks of the shipped folder, and the program's data that changed.
// False when a folder of the copy could not be made.
bool UpdateCopy(platform::System& system, const std::string& shipped, const std::string& copy,
                const std::string& relative) {
  if (!system.CreateFolder(copy)) return false;
  std::vector<platform::DirEntry> entries;
  system.ListFolder(shipped, [&](const platform::DirEntry& entry) {
    entries.push_back(entry);
    return true;
  });
  bool whole = true;
  for (const platform::DirEntry& entry : entries) {
    const std::string from = shipped + "\\" + entry.name;
    const std::string to = copy + "\\" + entry.name;
    const std::string name = relative.empty() ? entry.name : relative + "\\" + entry.name;
    if (entry.IsReparsePoint()) continue;
    if (entry.IsDirectory()) {
      whole = UpdateCopy(system, from, to, name) && whole;
      continue;
    }
    const platform::ReadResult source = system.ReadFile(from, platform::FileAccess::kRead);
    if (!source.bytes) continue;
    const platform::ReadResult present = system.ReadFile(to, platform::FileAccess::kRead);
    const bool missing = !present.bytes && present.error == platform::ReadError::kNotFound;
    if (missing || (!IsUsersSetting(name) && present.bytes && *present.bytes != *source.bytes))
      settings::SaveFileSafely(system, to, *source.bytes);
  }
  return whole;
}

// The data folder of a program whose own folder the user cannot write.
DataFolder UserCopy(platform::System& system, const std::string& shipped, bool makeUserCopy) {
  const std::string appData = system.SpecialFolder(platform::csidl::kAppData);
  if (appData.empty()) return {DataPlace::kShipped, shipped};
  const std::string home = appData + "\\Dustorix";
  const std::string copy = home + "\\data";
  if (!makeUserCopy) {
    if (IsFolder(system, copy)) return {DataPlace::kUserCopy, copy};
    return {DataPlace::kShipped, shipped};
  }
  // A copy that could not be made whole still holds what could be copied; without its folder
  // the shipped data serves, and settings are not kept.
  if (!system.CreateFolder(home)) return {DataPlace::kShipped, shipped};
  UpdateCopy(system, shipped, copy, {});
  if (!IsFolder(system, copy)) return {DataPlace::kShipped, shipped};
  return {DataPlace::kUserCopy, copy};
}

}  // namespace

// Whether the path is one of the program's data\... paths, or data itself.
bool DataFolderSystem::IsDataPath(std::string_view path) {
  if (path.size() < kData.size()) return false;
  for (std::size_t i = 0; i < kData.size(); ++i) {
    if ((path[i] | 0x20) != kData[i]) return false;
  }
  return path.size() == kData.size() || path[kData.size()] == '\\' || path[kData.size()] == '/';
}

DataFolder FindDataFolder(platform::System& system, bool makeUserCopy) {
  const std::string programFolder = system.ProgramFolder();
  const std::string shipped = programFolder.empty() ? std::string() : programFolder + "\\data";
  std::string found;
  if (IsFolder(system, std::string(kData))) {
    const std::string here = system.FullPathName(kData);
    // Started in the program's own folder: an installed copy's data are not the user's to write.
    if (shipped.empty() || !platform::SameName(here, shipped))
      return {DataPlace::kCurrentFolder, std::string(kData)};
    found = shipped;
  } else if (!shipped.empty() && IsFolder(system, shipped)) {
    found = shipped;
  } else {
    return {};
  }
  if (CanWriteIn(system, found)) return {DataPlace::kBesideProgram, found};
  return UserCopy(system, found, makeUserCopy);
}

std::string NoDataFolderMessage(platform::System& system) {
  const std::string here = system.CurrentDirectory();
  const std::string program = system.ProgramFolder();
  return "Dustorix cannot find its folder \"data\", neither in the current folder (" + here +
         ") nor beside the program (" + program +
         "). Unpack the whole zip file again and start dustorix.exe from there.\n\n"
         "Dustorix findet seinen Ordner \"data\" weder im aktuellen Ordner (" +
         here + ") noch neben dem Programm (" + program +
         "). Entpacken Sie die ZIP-Datei noch einmal vollst\xC3\xA4ndig und starten Sie "
         "dustorix.exe dort.";
}

DataFolderSystem::DataFolderSystem(platform::System& inner, std::string folder)
    : ProxySystem(inner), folder_(std::move(folder)) {
  while (folder_.size() > 1 && folder_.back() == '\\')
    folder_.pop_back();
}

platform::ReadResult DataFolderSystem::ReadFile(std::string_view path,
                                                platform::FileAccess access) {
  return InFolder(path, [&](std::string_view at) { return Inner().ReadFile(at, access); });
}
bool DataFolderSystem::WriteFile(std::string_view path, std::string_view bytes) {
  return InFolder(path, [&](std::string_view at) { return Inner().WriteFile(at, bytes); });
}
bool DataFolderSystem::WriteNewFile(std::string_view path, std::string_view bytes) {
  return InFolder(path, [&](std::string_view at) { return Inner().WriteNewFile(at, bytes); });
}
std::string DataFolderSystem::FullPathName(std::string_view path) {
  return InFolder(path, [&](std::string_view at) { return Inner().FullPathName(at); });
}
bool DataFolderSystem::ReplaceFile(std::string_view from, std::string_view to) {
  return InFolder(from, [&](std::string_view source) {
    return InFolder(to,
                    [&](std::string_view target) { return Inner().ReplaceFile(source, target); });
  });
}
bool DataFolderSystem::DeleteFile(std::string_view path) {
  return InFolder(path, [&](std::string_view at) { return Inner().DeleteFile(at); });
}
bool DataFolderSystem::CreateFolder(std::string_view path) {
  return InFolder(path, [&](std::string_view at) { return Inner().CreateFolder(at); });
}
bool DataFolderSystem::ListFolder(std::string_view folder,
                                  platform::FunctionRef<bool(const platform::DirEntry&)> visit) {
  return InFolder(folder, [&](std::string_view at) { return Inner().ListFolder(at, visit); });
}
std::optional<platform::DirEntry> DataFolderSystem::LookUp(std::string_view path) {
  return InFolder(path, [&](std::string_view at) { return Inner().LookUp(at); });
}
std::optional<platform::FileStatus> DataFolderSystem::Status(std::string_view path) {
  return InFolder(path, [&](std::string_view at) { return Inner().Status(at); });
}

}  // namespace app
