// The sim's registry: keys by root and case-insensitive path, values with their types, in the
// order they were set (Wine lists them sorted, Windows in its own order: callers rely on none).
#include <algorithm>
#include <set>

#include "platform/sim/sim_system.h"

namespace platform::sim {

struct SimRegistryKeyData {
  std::string name;  // the last part of the key's path, as it was first created
  std::vector<std::pair<std::string, RegistryValue>> values;
  bool locked = false;
  bool deleted = false;  // a handle still open on a deleted key fails, as on Windows

  auto Find(std::string_view name) {
    const std::string folded = FoldName(name);
    return std::find_if(values.begin(), values.end(),
                        [&](const auto& value) { return FoldName(value.first) == folded; });
  }
};

// Shares the key's data, so that it outlives the sim's own handle on it as a real open key does.
// The sim counts its calls; a key must not outlive its sim.
class SimRegistryKey final : public RegistryKey {
 public:
  SimRegistryKey(SimSystem& sim, std::shared_ptr<SimRegistryKeyData> data, RegistryRoot root,
                 std::string folded)
      : sim_(sim), data_(std::move(data)), root_(root), folded_(std::move(folded)) {}

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    sim_.Count(Op::kRegistryValueNames);
    if (data_->deleted) return names;
    for (const auto& value : data_->values)
      names.push_back(value.first);
    return names;
  }

  std::optional<RegistryValue> ReadValue(std::string_view name) override {
    sim_.Count(Op::kReadRegistryValue);
    if (data_->deleted) return std::nullopt;
    auto found = data_->Find(name);
    if (found == data_->values.end()) return std::nullopt;
    return found->second;
  }

  bool DeleteValue(std::string_view name) override {
    sim_.Count(Op::kDeleteRegistryValue);
    auto found = data_->Find(name);
    if (data_->deleted || found == data_->values.end()) return false;
    data_->values.erase(found);
    return true;
  }

  std::vector<std::string> SubKeyNames() override {
    sim_.Count(Op::kRegistrySubKeyNames);
    if (data_->deleted) return {};
    return sim_.RegistrySubKeyNames(root_, folded_);
  }

  bool DeleteSubKeyTree(std::string_view name) override {
    sim_.Count(Op::kDeleteRegistrySubKeyTree);
    if (data_->deleted || name.empty() || name.find('\\') != std::string_view::npos) return false;
    return sim_.DeleteRegistryTree(
        root_, folded_.empty() ? FoldName(name) : folded_ + '\\' + FoldName(name));
  }

 private:
  SimSystem& sim_;
  std::shared_ptr<SimRegistryKeyData> data_;
  RegistryRoot root_;
  std::string folded_;  // the key's path, folded; empty for the root
};

SimRegistryKeyData* SimSystem::FindRegistryKey(RegistryRoot root, std::string_view key) const {
  auto found = registry_.find({root, FoldName(key)});
  return found == registry_.end() ? nullptr : found->second.get();
}

SimRegistryKeyData& SimSystem::MakeRegistryKey(RegistryRoot root, std::string_view key) {
  // Every parent of a key exists as well, the root ("") included.
  for (size_t start = 0, cut = 0;; start = ++cut) {
    cut = key.find('\\', cut);
    auto& slot = registry_[{root, FoldName(key.substr(0, cut))}];
    if (!slot) {
      slot = std::make_shared<SimRegistryKeyData>();
      slot->name =
          std::string(key.substr(start, cut == std::string_view::npos ? cut : cut - start));
    }
    if (cut == std::string_view::npos) return *slot;
  }
}

std::vector<std::string> SimSystem::RegistrySubKeyNames(RegistryRoot root,
                                                        const std::string& folded) const {
  std::vector<std::string> names;
  const std::string prefix = folded.empty() ? std::string() : folded + '\\';
  for (auto it = registry_.lower_bound({root, prefix});
       it != registry_.end() && it->first.first == root && it->first.second.starts_with(prefix);
       ++it) {
    const std::string_view rest = std::string_view(it->first.second).substr(prefix.size());
    if (!rest.empty() && rest.find('\\') == std::string_view::npos) {
      names.push_back(it->second->name);
    }
  }
  return names;
}

bool SimSystem::DeleteRegistryTree(RegistryRoot root, const std::string& folded) {
  auto top = registry_.find({root, folded});
  if (top == registry_.end()) return false;
  // The key and everything below it, deepest first; a locked key keeps the keys above it.
  std::vector<std::string> tree;
  const std::string prefix = folded + '\\';
  for (auto it = std::next(top);
       it != registry_.end() && it->first.first == root && it->first.second.starts_with(prefix);
       ++it) {
    tree.push_back(it->first.second);
  }
  std::sort(tree.begin(), tree.end(), [](const std::string& a, const std::string& b) {
    return std::count(a.begin(), a.end(), '\\') > std::count(b.begin(), b.end(), '\\');
  });
  tree.push_back(folded);
  std::set<std::string> kept;
  for (const std::string& key : tree) {
    auto found = registry_.find({root, key});
    if (found->second->locked || kept.count(key)) {
      for (std::size_t cut = key.rfind('\\'); cut != std::string::npos && cut > folded.size();
           cut = key.rfind('\\', cut - 1)) {
        kept.insert(key.substr(0, cut));
      }
      kept.insert(folded);
      continue;
    }
    found->second->deleted = true;
    registry_.erase(found);
  }
  return kept.empty();
}

void SimSystem::SetRegistryValue(RegistryRoot root, std::string_view key, std::string_view name,
                                 RegistryValue value) {
  SimRegistryKeyData& data = MakeRegistryKey(root, key);
  auto found = data.Find(name);
  if (found != data.values.end()) {
    found->second = std::move(value);
  } else {
    data.values.emplace_back(std::string(name), std::move(value));
  }
}

void SimSystem::AddRegistryKey(RegistryRoot root, std::string_view key) {
  MakeRegistryKey(root, key);
}

void SimSystem::LockRegistryKey(RegistryRoot root, std::string_view key) {
  MakeRegistryKey(root, key).locked = true;
}

bool SimSystem::HasRegistryKey(RegistryRoot root, std::string_view key) const {
  return FindRegistryKey(root, key) != nullptr;
}

bool SimSystem::RegistryKeyExists(RegistryRoot root, std::string_view path) {
  Count(Op::kRegistryKeyExists);
  // Read rights are enough: a key locked against changes still counts.
  return FindRegistryKey(root, path) != nullptr;
}

std::optional<RegistryValue> SimSystem::RegistryValueOf(RegistryRoot root, std::string_view key,
                                                        std::string_view name) const {
  SimRegistryKeyData* data = FindRegistryKey(root, key);
  if (!data) return std::nullopt;
  auto found = data->Find(name);
  if (found == data->values.end()) return std::nullopt;
  return found->second;
}

std::vector<std::string> SimSystem::RegistryValueNamesOf(RegistryRoot root,
                                                         std::string_view key) const {
  std::vector<std::string> names;
  if (SimRegistryKeyData* data = FindRegistryKey(root, key)) {
    for (const auto& value : data->values)
      names.push_back(value.first);
  }
  return names;
}

std::unique_ptr<RegistryKey> SimSystem::OpenRegistryKey(RegistryRoot root, std::string_view path) {
  Count(Op::kOpenRegistryKey);
  auto found = registry_.find({root, FoldName(path)});
  if (found == registry_.end() || found->second->locked) return nullptr;
  return std::make_unique<SimRegistryKey>(*this, found->second, root, found->first.second);
}

}  // namespace platform::sim
