// The backends of the host build: the sim only.
#include "bench/backend.h"

namespace bench {

std::unique_ptr<Backend> MakeBackend(const std::string& name) {
  return name == "sim" ? MakeSimBackend() : nullptr;
}

std::string DefaultBackendName() {
  return "sim";
}

}  // namespace bench
