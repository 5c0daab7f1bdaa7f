// A user's profile as the applications of the project's own rules leave it: for each one the
// places it rebuilds (junk) and what it keeps for the user (never to be touched), after the
// table of applications' junk the rules were written from.
#pragma once

#include <string_view>

namespace testing_cleaners {

struct AppPlace {
  std::string_view app;   // the entry that owns the place
  std::string_view path;  // with the rules' variables
  // A junk folder (filled with files and a subfolder) or file goes; a kept file stays whole.
  enum Kind { kJunkFolder, kJunkFile, kKept } kind;
};

inline constexpr AppPlace kAppPlaces[] = {
    {"Discord", "%AppData%\\discord\\Cache", AppPlace::kJunkFolder},
    {"Discord", "%AppData%\\discordptb\\Code Cache", AppPlace::kJunkFolder},
    {"Discord", "%AppData%\\discord\\GPUCache", AppPlace::kJunkFolder},
    {"Discord", "%LocalAppData%\\Discord\\packages\\Discord-1.0.9-full.nupkg", AppPlace::kJunkFile},
    {"Discord", "%AppData%\\discord\\Local Storage\\leveldb\\000003.log", AppPlace::kKept},
    {"Discord", "%AppData%\\discord\\settings.json", AppPlace::kKept},
    {"Discord", "%LocalAppData%\\Discord\\app-1.0.9\\Discord.exe", AppPlace::kKept},
    {"Discord", "%LocalAppData%\\Discord\\packages\\RELEASES", AppPlace::kKept},
    {"Teams", "%AppData%\\Microsoft\\Teams\\Cache", AppPlace::kJunkFolder},
    {"Teams", "%AppData%\\Microsoft\\Teams\\Code Cache", AppPlace::kJunkFolder},
    {"Teams", "%AppData%\\Microsoft\\Teams\\GPUCache", AppPlace::kJunkFolder},
    {"Teams", "%AppData%\\Microsoft\\Teams\\blob_storage", AppPlace::kJunkFolder},
    {"Teams", "%AppData%\\Microsoft\\Teams\\tmp", AppPlace::kJunkFolder},
    {"Teams", "%AppData%\\Microsoft\\Teams\\Local Storage\\leveldb\\CURRENT", AppPlace::kKept},
    {"Teams", "%AppData%\\Microsoft\\Teams\\IndexedDB\\db\\x.ldb", AppPlace::kKept},
    {"Teams", "%AppData%\\Microsoft\\Teams\\desktop-config.json", AppPlace::kKept},
    {"Teams", "%AppData%\\Microsoft\\Teams\\Backgrounds\\Uploads\\me.png", AppPlace::kKept},
    {"Teams new",
     "%LocalAppData%\\Packages\\MSTeams_"
     "8wekyb3d8bbwe\\LocalCache\\Microsoft\\MSTeams\\EBWebView\\WV2Profile_tfw\\Cache",
     AppPlace::kJunkFolder},
    {"Teams new",
     "%LocalAppData%\\Packages\\MSTeams_"
     "8wekyb3d8bbwe\\LocalCache\\Microsoft\\MSTeams\\EBWebView\\WV2Profile_tfw\\Code Cache",
     AppPlace::kJunkFolder},
    {"Teams new",
     "%LocalAppData%\\Packages\\MSTeams_"
     "8wekyb3d8bbwe\\LocalCache\\Microsoft\\MSTeams\\EBWebView\\WV2Profile_tfw\\GPUCache",
     AppPlace::kJunkFolder},
    {"Teams new",
     "%LocalAppData%\\Packages\\MSTeams_"
     "8wekyb3d8bbwe\\LocalCache\\Microsoft\\MSTeams\\Backgrounds\\Uploads\\me.png",
     AppPlace::kKept},
    {"Teams new",
     "%LocalAppData%\\Packages\\MSTeams_8wekyb3d8bbwe\\LocalCache\\Microsoft\\MSTeams\\settings."
     "json",
     AppPlace::kKept},
    {"Slack", "%AppData%\\Slack\\Cache", AppPlace::kJunkFolder},
    {"Slack", "%AppData%\\Slack\\Code Cache", AppPlace::kJunkFolder},
    {"Slack", "%AppData%\\Slack\\GPUCache", AppPlace::kJunkFolder},
    {"Slack", "%AppData%\\Slack\\Service Worker\\CacheStorage", AppPlace::kJunkFolder},
    {"Slack", "%AppData%\\Slack\\logs", AppPlace::kJunkFolder},
    {"Slack", "%AppData%\\Slack\\storage\\slack-workspaces", AppPlace::kKept},
    {"Slack", "%AppData%\\Slack\\Local Storage\\leveldb\\CURRENT", AppPlace::kKept},
    {"Slack", "%AppData%\\Slack\\local-settings.json", AppPlace::kKept},
    {"Spotify", "%LocalAppData%\\Spotify\\Browser", AppPlace::kJunkFolder},
    {"Spotify", "%LocalAppData%\\Spotify\\Data", AppPlace::kJunkFolder},
    {"Spotify", "%LocalAppData%\\Spotify\\Storage\\offline\\song.file", AppPlace::kKept},
    {"Spotify", "%AppData%\\Spotify\\prefs", AppPlace::kKept},
    {"Spotify", "%AppData%\\Spotify\\Users\\me-user\\local-files.bnk", AppPlace::kKept},
    {"Zoom", "%AppData%\\Zoom\\logs", AppPlace::kJunkFolder},
    {"Zoom", "%AppData%\\Zoom\\data\\zoomus.enc.db", AppPlace::kKept},
    {"Steam", "%ProgramFiles(x86)%\\Steam\\appcache\\httpcache", AppPlace::kJunkFolder},
    {"Steam", "%ProgramFiles(x86)%\\Steam\\steamapps\\shadercache", AppPlace::kJunkFolder},
    {"Steam", "%ProgramFiles(x86)%\\Steam\\depotcache", AppPlace::kJunkFolder},
    {"Steam", "%ProgramFiles(x86)%\\Steam\\dumps", AppPlace::kJunkFolder},
    {"Steam", "%ProgramFiles(x86)%\\Steam\\logs", AppPlace::kJunkFolder},
    {"Steam", "%LocalAppData%\\Steam\\htmlcache", AppPlace::kJunkFolder},
    {"Steam", "%ProgramFiles(x86)%\\Steam\\steamapps\\downloading", AppPlace::kJunkFolder},
    {"Steam", "%ProgramFiles(x86)%\\Steam\\steamapps\\common\\Game\\game.exe", AppPlace::kKept},
    {"Steam", "%ProgramFiles(x86)%\\Steam\\steamapps\\appmanifest_440.acf", AppPlace::kKept},
    {"Steam", "%ProgramFiles(x86)%\\Steam\\steamapps\\libraryfolders.vdf", AppPlace::kKept},
    {"Steam", "%ProgramFiles(x86)%\\Steam\\userdata\\123\\config\\localconfig.vdf",
     AppPlace::kKept},
    {"Steam", "%ProgramFiles(x86)%\\Steam\\config\\config.vdf", AppPlace::kKept},
    {"Epic", "%LocalAppData%\\EpicGamesLauncher\\Saved\\webcache_4147", AppPlace::kJunkFolder},
    {"Epic", "%LocalAppData%\\EpicGamesLauncher\\Saved\\Logs", AppPlace::kJunkFolder},
    {"Epic", "%LocalAppData%\\EpicGamesLauncher\\Saved\\Crashes", AppPlace::kJunkFolder},
    {"Epic", "%LocalAppData%\\EpicGamesLauncher\\Saved\\Config\\Windows\\GameUserSettings.ini",
     AppPlace::kKept},
    {"Code", "%AppData%\\Code\\Cache", AppPlace::kJunkFolder},
    {"Code", "%AppData%\\Code\\CachedData", AppPlace::kJunkFolder},
    {"Code", "%AppData%\\Code\\Code Cache", AppPlace::kJunkFolder},
    {"Code", "%AppData%\\Code\\GPUCache", AppPlace::kJunkFolder},
    {"Code", "%AppData%\\Code\\DawnCache", AppPlace::kJunkFolder},
    {"Code", "%AppData%\\Code\\CachedExtensionVSIXs", AppPlace::kJunkFolder},
    {"Code", "%AppData%\\Code\\logs", AppPlace::kJunkFolder},
    {"Code", "%AppData%\\Code\\User\\settings.json", AppPlace::kKept},
    {"Code", "%AppData%\\Code\\User\\globalStorage\\state.vscdb", AppPlace::kKept},
    {"Code", "%AppData%\\Code\\User\\workspaceStorage\\1a2b\\workspace.json", AppPlace::kKept},
    {"Code", "%UserProfile%\\.vscode\\extensions\\ext-1.0\\package.json", AppPlace::kKept},
    {"npm", "%LocalAppData%\\npm-cache", AppPlace::kJunkFolder},
    {"npm", "%AppData%\\npm\\node_modules\\tool\\package.json", AppPlace::kKept},
    {"npm", "%UserProfile%\\.npmrc", AppPlace::kKept},
    {"pip", "%LocalAppData%\\pip\\Cache", AppPlace::kJunkFolder},
    {"pip", "%AppData%\\pip\\pip.ini", AppPlace::kKept},
    {"NuGet", "%LocalAppData%\\NuGet\\v3-cache", AppPlace::kJunkFolder},
    {"NuGet", "%LocalAppData%\\NuGet\\plugins-cache", AppPlace::kJunkFolder},
    {"NuGet", "%Temp%\\NuGetScratch", AppPlace::kJunkFolder},
    {"NuGet", "%UserProfile%\\.nuget\\packages", AppPlace::kJunkFolder},
    {"NuGet", "%AppData%\\NuGet\\NuGet.Config", AppPlace::kKept},
    {"Yarn", "%LocalAppData%\\Yarn\\Cache", AppPlace::kJunkFolder},
    {"Yarn", "%LocalAppData%\\Yarn\\Berry\\cache", AppPlace::kJunkFolder},
    {"Yarn", "%UserProfile%\\.yarnrc", AppPlace::kKept},
    {"Yarn", "%UserProfile%\\.yarnrc.yml", AppPlace::kKept},
    {"NVIDIA", "%ProgramData%\\NVIDIA Corporation\\Downloader", AppPlace::kJunkFolder},
    {"NVIDIA", "%LocalAppData%\\NVIDIA Corporation\\NV_Cache", AppPlace::kJunkFolder},
    {"NVIDIA", "%UserProfile%\\AppData\\LocalLow\\NVIDIA\\PerDriverVersion\\DXCache",
     AppPlace::kJunkFolder},
    {"NVIDIA", "%ProgramW6432%\\NVIDIA Corporation\\Installer2\\Display.Driver\\setup.cfg",
     AppPlace::kKept},
    {"AMD", "%SystemDrive%\\AMD", AppPlace::kJunkFolder},
    {"AMD", "%LocalAppData%\\AMD\\DxCache", AppPlace::kJunkFolder},
    {"AMD", "%LocalAppData%\\AMD\\DxcCache", AppPlace::kJunkFolder},
    {"AMD", "%ProgramW6432%\\AMD\\CNext\\RadeonSoftware.exe", AppPlace::kKept},
};

}  // namespace testing_cleaners
