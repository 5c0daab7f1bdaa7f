// A RegKey at work: one value, or a key with all below it except what a REG exclusion spares.
#include "cleaners/detection.h"
#include "cleaners/key_runs.h"

namespace cleaners::internal {

namespace {

// Whether `inner` is `outer` or lies below it.
bool Within(const RegistryPath& inner, const RegistryPath& outer) {
  if (inner.root != outer.root) return false;
  const std::string a = FoldedPath(inner.path);
  const std::string b = FoldedPath(outer.path);
  return a == b || b.empty() || (a.size() > b.size() && a[b.size()] == '\\' && a.starts_with(b));
}

RegistryPath Below(const RegistryPath& key, const std::string& name) {
  return {key.root, key.path.empty() ? name : key.path + '\\' + name};
}

class RegistryWork {
 public:
  RegistryWork(const std::vector<RegistryPath>& spared, cleanups::RunContext& run, Tally& tally)
      : spared_(spared), system_(run.System()), tally_(tally) {}

  void DeleteValue(const RegistryPath& key, const std::string& name) {
    if (Spared(key)) return;
    std::unique_ptr<platform::RegistryKey> opened = system_.OpenRegistryKey(key.root, key.path);
    if (opened && opened->DeleteValue(name)) ++tally_.registryItems;
  }

  void DeleteKey(const RegistryPath& key) {
    if (Spared(key)) return;
    if (HoldsSpared(key)) {
      DeleteAllBut(key);
      return;
    }
    const std::size_t cut = key.path.rfind('\\');
    if (cut == std::string::npos) return;  // a key directly below a root is never deleted whole
    std::unique_ptr<platform::RegistryKey> parent =
        system_.OpenRegistryKey(key.root, key.path.substr(0, cut));
    if (parent && parent->DeleteSubKeyTree(key.path.substr(cut + 1))) ++tally_.registryItems;
  }

 private:
  bool Spared(const RegistryPath& key) const {
    for (const RegistryPath& spared : spared_) {
      if (Within(key, spared)) return true;
    }
    return false;
  }

  // Whether a spared key lies below this one.
  bool HoldsSpared(const RegistryPath& key) const {
    for (const RegistryPath& spared : spared_) {
      if (Within(spared, key)) return true;
    }
    return false;
  }

  // The key's values and every subkey but the spared ones; the key itself stays, holding them.
  void DeleteAllBut(const RegistryPath& key) {
    std::unique_ptr<platform::RegistryKey> opened = system_.OpenRegistryKey(key.root, key.path);
    if (!opened) return;
    for (const std::string& name : opened->ValueNames()) {
      if (opened->DeleteValue(name)) ++tally_.registryItems;
    }
    for (const std::string& name : opened->SubKeyNames()) {
      const RegistryPath child = Below(key, name);
      if (Spared(child)) continue;
      if (HoldsSpared(child)) {
        DeleteAllBut(child);
      } else if (opened->DeleteSubKeyTree(name)) {
        ++tally_.registryItems;
      }
    }
  }

  const std::vector<RegistryPath>& spared_;
  platform::System& system_;
  Tally& tally_;
};

}  // namespace

void RunRegKey(const RegKey& key, const std::vector<RegistryPath>& spared,
               cleanups::RunContext& run, Tally& tally) {
  RegistryWork work(spared, run, tally);
  std::vector<RegistryPath> views = {key.key};
  if (std::optional<RegistryPath> twin = Wow64Twin(key.key)) views.push_back(std::move(*twin));
  for (const RegistryPath& view : views) {
    if (key.valueName) {
      work.DeleteValue(view, *key.valueName);
    } else {
      work.DeleteKey(view);
    }
  }
}

}  // namespace cleaners::internal
