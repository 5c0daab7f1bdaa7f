// Internet Explorer's and the old Opera's caches and cookies.
#include "cleanups/paths.h"
#include "cleanups/special_cleanups.h"

namespace cleanups {

namespace {

constexpr std::string_view kOperaKey = "Software\\Opera Software";
constexpr std::string_view kOpera7 = "Opera\\Opera7";
constexpr std::string_view kOpera75 = "Opera\\Opera75";
constexpr std::string_view kCache = "profile\\cache4";
constexpr std::string_view kCookies = "profile\\cookies4.dat";

}  // namespace

void SpecialCleanups::ClearUrlCache() {
  // An entry in use stays; the enumeration goes on with the next one.
  system_.ListUrlCache([&](const std::string& sourceUrl) {
    system_.DeleteUrlCacheItem(sourceUrl);
    return true;
  });
}

std::string SpecialCleanups::ReadRegString(platform::RegistryRoot root, std::string_view keyPath,
                                           std::string_view valueName) {
  std::unique_ptr<platform::RegistryKey> key = system_.OpenRegistryKey(root, keyPath);
  if (!key) return {};
  std::optional<platform::RegistryValue> value = key->ReadValue(valueName);
  if (!value) return {};
  return value->Text().value_or(std::string());
}

std::string SpecialCleanups::UsualOperaPlace(std::string_view profile, std::string_view tail) {
  // A relative application-data folder would put the profile into the program's folder.
  const std::string appData = system_.SpecialFolder(platform::csidl::kAppData);
  if (!IsAbsolutePath(appData)) return {};
  return Under(Under(appData, profile), tail);
}

std::string SpecialCleanups::RegisteredOperaPlace(std::string_view valueName,
                                                  std::string_view tail) {
  // A missing, empty or relative value would put the tail at the root of the current drive or
  // into the current folder: no profile of Opera's is there.
  const std::string base =
      ReadRegString(platform::RegistryRoot::kCurrentUser, kOperaKey, valueName);
  if (!IsAbsolutePath(base)) return {};
  return Under(base, tail);
}

void SpecialCleanups::TemporaryInternetFiles() {
  namespace csidl = platform::csidl;
  const std::string profile = ShellFolder(csidl::kProfile);
  EmptyPlace(ShellFolder(csidl::kInternetCache), profile, csidl::kInternetCache);
  ClearUrlCache();
  // The old Opera kept its profile where the user installed it: any place but a protected one.
  const std::string appData = ShellFolder(csidl::kAppData);
  EmptyPlace(UsualOperaPlace(kOpera7, kCache), appData);
  EmptyPlace(RegisteredOperaPlace("Last Directory2", kCache), std::nullopt);
  EmptyPlace(UsualOperaPlace(kOpera75, kCache), appData);
  EmptyPlace(RegisteredOperaPlace("Last Directory3", kCache), std::nullopt);
  CleanBrowsers(BrowserPart::kCaches);
}

void SpecialCleanups::DeleteOperaCookies(std::string_view profile, std::string_view valueName) {
  // Only a file whose size was read is deleted, so that the freed total counts what went.
  const auto remove = [&](const std::string& path) -> std::int64_t {
    std::optional<platform::FileStatus> entry;
    if (!path.empty()) entry = system_.Status(path);
    if (!entry || entry->IsDirectory()) return 0;
    const auto size = static_cast<std::int64_t>(entry->size);
    if (system_.DeleteFile(path)) run_.AddFreed(size);
    return size;
  };
  // An empty or missing file in the usual place sends the search to the registered place.
  if (remove(UsualOperaPlace(profile, kCookies)) < 1) {
    remove(RegisteredOperaPlace(valueName, kCookies));
  }
}

void SpecialCleanups::Cookies() {
  namespace csidl = platform::csidl;
  EmptyPlace(ShellFolder(csidl::kCookies), ShellFolder(csidl::kProfile), csidl::kCookies);
  DeleteOperaCookies(kOpera7, "Last Directory2");
  DeleteOperaCookies(kOpera75, "Last Directory3");
  CleanBrowsers(BrowserPart::kCookies);
}

}  // namespace cleanups
