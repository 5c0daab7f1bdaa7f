// The sim's registry: keys by root and case-insensitive path, values with their types, in the
// order they were set (Wine lists them sorted, Windows in its own order: callers rely on none).
#include <algorithm>

#include "platform/sim/sim_system.h"

namespace platform::sim {

struct SimRegistryKeyData {
  std::vector<std::pair<std::string, RegistryValue>> values;
  bool locked = false;

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
  SimRegistryKey(SimSystem& sim, std::shared_ptr<SimRegistryKeyData> data)
      : sim_(sim), data_(std::move(data)) {}

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    sim_.Count(Op::kRegistryValueNames);
    for (const auto& value : data_->values)
      names.push_back(value.first);
    return names;
  }

  std::optional<RegistryValue> ReadValue(std::string_view name) override {
    sim_.Count(Op::kReadRegistryValue);
    auto found = data_->Find(name);
    if (found == data_->values.end()) return std::nullopt;
    return found->second;
  }

  bool DeleteValue(std::string_view name) override {
    sim_.Count(Op::kDeleteRegistryValue);
    auto found = data_->Find(name);
    if (found == data_->values.end()) return false;
    data_->values.erase(found);
    return true;
  }

 private:
  SimSystem& sim_;
  std::shared_ptr<SimRegistryKeyData> data_;
};

SimRegistryKeyData* SimSystem::FindRegistryKey(RegistryRoot root, std::string_view key) const {
  auto found = registry_.find({root, FoldName(key)});
  return found == registry_.end() ? nullptr : found->second.get();
}

SimRegistryKeyData& SimSystem::MakeRegistryKey(RegistryRoot root, std::string_view key) {
  // Every parent of a key exists as well, the root ("") included.
  for (size_t cut = 0;; ++cut) {
    cut = key.find('\\', cut);
    auto& slot = registry_[{root, FoldName(key.substr(0, cut))}];
    if (!slot) slot = std::make_shared<SimRegistryKeyData>();
    if (cut == std::string_view::npos) return *slot;
  }
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

bool SimSystem::RegistryKeyExists(RegistryRoot root, std::string_view key) const {
  return FindRegistryKey(root, key) != nullptr;
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
  return std::make_unique<SimRegistryKey>(*this, found->second);
}

}  // namespace platform::sim
