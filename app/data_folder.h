// Where the settings and language files live. The program names them data\..., and the folder
// those paths lead to is decided once at start: the "data" folder of the current folder, else
// the one beside the program (a portable copy). An installed copy, whose folder the user cannot
// write, keeps each user's settings in %AppData%\Dustorix\data, made from the shipped folder.
#pragma once

#include <string>
#include <string_view>

#include "platform/proxy_system.h"

namespace app {

enum class DataPlace {
  kCurrentFolder,  // data in the current folder
  kBesideProgram,  // data beside the program, which the user may write
  kUserCopy,       // %AppData%\Dustorix\data: the program's own folder is not the user's to write
  kShipped,        // the program's own data folder, read only: there is no copy for this user
  kGiven,          // named on the command line
  kNone,           // nowhere: the program cannot run
};

struct DataFolder {
  DataPlace place = DataPlace::kNone;
  std::string path;  // the folder; empty for kNone
};

// The data folder. `makeUserCopy` makes the user's copy of an installed program's data where it
// is missing, and brings its language files and default lists up to the shipped ones; without
// it (a command line, which writes no settings) the shipped folder stands in for a missing copy.
DataFolder FindDataFolder(platform::System& system, bool makeUserCopy);

// The message that the window shows, in English and German, when there is no data folder.
std::string NoDataFolderMessage(platform::System& system);

// A System on which the program's data\... paths lead into the chosen folder; every other path is
// left as it is.
class DataFolderSystem final : public platform::ProxySystem {
 public:
  DataFolderSystem(platform::System& inner, std::string folder);

  const std::string& Folder() const { return folder_; }

  platform::ReadResult ReadFile(std::string_view path, platform::FileAccess access) override;
  bool WriteFile(std::string_view path, std::string_view bytes) override;
  bool WriteNewFile(std::string_view path, std::string_view bytes) override;
  // data\... in full is the chosen folder's path: the guard of a run keeps it whole.
  std::string FullPathName(std::string_view path) override;
  bool ReplaceFile(std::string_view from, std::string_view to) override;
  bool DeleteFile(std::string_view path) override;
  bool CreateFolder(std::string_view path) override;
  bool ListFolder(std::string_view folder,
                  platform::FunctionRef<bool(const platform::DirEntry&)> visit) override;
  std::optional<platform::DirEntry> LookUp(std::string_view path) override;
  std::optional<platform::FileStatus> Status(std::string_view path) override;

 private:
  // Calls `call` with the path, led into the chosen folder when it is one of the program's
  // data\... paths. A clean run's paths pass as they are, without a copy.
  template <typename Call>
  auto InFolder(std::string_view path, Call&& call) {
    if (!IsDataPath(path)) return call(path);
    const std::string inFolder = folder_ + std::string(path.substr(4));
    return call(std::string_view(inFolder));
  }
  static bool IsDataPath(std::string_view path);

  std::string folder_;  // without a final backslash
};

}  // namespace app
