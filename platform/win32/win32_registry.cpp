// Registry keys opened with full access, never created; values read with their types.
#include "platform/win32/win.h"

#include "platform/win32/handles.h"
#include "platform/win32/wide_path.h"
#include "platform/win32/win32_system.h"

namespace platform::win32 {

namespace {

struct RegistryKeyTraits {
  using Value = HKEY;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value key) { return key != nullptr; }
  static void Close(Value key) { ::RegCloseKey(key); }
};
using UniqueRegistryKey = UniqueResource<RegistryKeyTraits>;

// The longest value name the registry allows, plus the terminator; and the same for a key name.
constexpr DWORD kMaxValueName = 16384;
constexpr DWORD kMaxKeyName = 256;

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kCurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::kUsers:
      return HKEY_USERS;
    case RegistryRoot::kClassesRoot:
      return HKEY_CLASSES_ROOT;
  }
  return nullptr;
}

// A key path as the registry takes it; nothing for text that is no path.
std::optional<std::wstring> KeyPath(std::string_view path) {
  std::optional<std::wstring> wide = Widen(path);
  if (!wide || wide->find(L'\0') != std::wstring::npos) return std::nullopt;
  return wide;
}

class Win32RegistryKey final : public RegistryKey {
 public:
  explicit Win32RegistryKey(UniqueRegistryKey key) : key_(std::move(key)) {}

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    std::wstring name(kMaxValueName, L'\0');
    for (DWORD index = 0;; ++index) {
      DWORD length = kMaxValueName;
      if (::RegEnumValueW(key_.Get(), index, name.data(), &length, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS) {
        break;
      }
      names.push_back(Narrow(std::wstring_view(name.data(), length)));
    }
    return names;
  }

  std::optional<RegistryValue> ReadValue(std::string_view name) override {
    std::optional<std::wstring> wide = Widen(name);
    if (!wide) return std::nullopt;
    RegistryValue value;
    DWORD type = REG_NONE;
    DWORD size = 0;
    LSTATUS status = ::RegQueryValueExW(key_.Get(), wide->c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between asking for its size and reading it.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
      value.data.assign(size, '\0');
      status = ::RegQueryValueExW(key_.Get(), wide->c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(value.data.data()), &size);
      if (status == ERROR_SUCCESS) {
        value.data.resize(size);
        value.type = type;
        return value;
      }
    }
    return std::nullopt;
  }

  bool DeleteValue(std::string_view name) override {
    std::optional<std::wstring> wide = Widen(name);
    return wide && ::RegDeleteValueW(key_.Get(), wide->c_str()) == ERROR_SUCCESS;
  }

  std::vector<std::string> SubKeyNames() override {
    std::vector<std::string> names;
    wchar_t name[kMaxKeyName];
    for (DWORD index = 0;; ++index) {
      DWORD length = kMaxKeyName;
      if (::RegEnumKeyExW(key_.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS) {
        break;
      }
      names.push_back(Narrow(std::wstring_view(name, length)));
    }
    return names;
  }

  bool DeleteSubKeyTree(std::string_view name) override {
    // An empty name would empty this key itself, a path would reach further than one subkey.
    std::optional<std::wstring> wide = KeyPath(name);
    if (!wide || wide->empty() || wide->find(L'\\') != std::wstring::npos) return false;
    return ::RegDeleteTreeW(key_.Get(), wide->c_str()) == ERROR_SUCCESS;
  }

 private:
  UniqueRegistryKey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32System::OpenRegistryKey(RegistryRoot root,
                                                          std::string_view path) {
  std::optional<std::wstring> wide = KeyPath(path);
  if (!wide) return nullptr;
  UniqueRegistryKey key;
  if (::RegOpenKeyExW(RootKey(root), wide->c_str(), 0, KEY_ALL_ACCESS, key.Receive()) !=
      ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32RegistryKey>(std::move(key));
}

bool Win32System::RegistryKeyExists(RegistryRoot root, std::string_view path) {
  std::optional<std::wstring> wide = KeyPath(path);
  if (!wide) return false;
  UniqueRegistryKey key;
  const LSTATUS status = ::RegOpenKeyExW(RootKey(root), wide->c_str(), 0,
                                         KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.Receive());
  // A key the user may not even read is there all the same.
  return status == ERROR_SUCCESS || status == ERROR_ACCESS_DENIED;
}

}  // namespace platform::win32
