// A System that counts the folder listings and single-path look-ups it passes on, so that the
// benchmark can report them for any backend, the real one included.
#pragma once

#include <cstdint>

#include "platform/proxy_system.h"

namespace bench {

class CountingSystem final : public platform::ProxySystem {
 public:
  using ProxySystem::ProxySystem;

  std::uint64_t Listings() const { return listings_; }
  std::uint64_t LookUps() const { return lookUps_; }
  void ResetCounts() { listings_ = lookUps_ = 0; }

  bool ListFolder(std::string_view folder,
                  platform::FunctionRef<bool(const platform::DirEntry&)> visit) override {
    ++listings_;
    return Inner().ListFolder(folder, visit);
  }
  std::optional<platform::FileStatus> Status(std::string_view path) override {
    ++lookUps_;
    return Inner().Status(path);
  }
  std::optional<platform::DirEntry> LookUp(std::string_view path) override {
    ++lookUps_;
    return Inner().LookUp(path);
  }

 private:
  std::uint64_t listings_ = 0;
  std::uint64_t lookUps_ = 0;
};

}  // namespace bench
