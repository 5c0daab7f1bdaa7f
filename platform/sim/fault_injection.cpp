#include "platform/sim/fault_injection.h"

namespace platform::sim {

const char* NameOf(Fault fault) {
  switch (fault) {
    case Fault::kAccessDenied:
      return "access denied";
    case Fault::kSharingViolation:
      return "sharing violation";
    case Fault::kVanished:
      return "vanished";
    case Fault::kPathTooLong:
      return "path too long";
    case Fault::kDiskFull:
      return "disk full";
  }
  return "?";
}

namespace {

// A write that fails does so as a full disk does; any other call is simply refused.
Fault UsualFault(Op op) {
  return op == Op::kWriteFile ? Fault::kDiskFull : Fault::kAccessDenied;
}

}  // namespace

// A key the sim opened, its calls failing as the injector decides. It must not outlive the
// injector.
class FaultInjector::Key final : public RegistryKey {
 public:
  Key(FaultInjector& faults, std::unique_ptr<RegistryKey> inner)
      : faults_(faults), inner_(std::move(inner)) {}

  std::vector<std::string> ValueNames() override {
    if (faults_.Inject(Op::kRegistryValueNames)) return {};
    return inner_->ValueNames();
  }
  std::optional<RegistryValue> ReadValue(std::string_view name) override {
    if (faults_.Inject(Op::kReadRegistryValue)) return std::nullopt;
    return inner_->ReadValue(name);
  }
  bool DeleteValue(std::string_view name) override {
    if (faults_.Inject(Op::kDeleteRegistryValue)) return false;
    return inner_->DeleteValue(name);
  }
  std::vector<std::string> SubKeyNames() override {
    if (faults_.Inject(Op::kRegistrySubKeyNames)) return {};
    return inner_->SubKeyNames();
  }
  bool DeleteSubKeyTree(std::string_view name) override {
    if (faults_.Inject(Op::kDeleteRegistrySubKeyTree)) return false;
    return inner_->DeleteSubKeyTree(name);
  }

 private:
  FaultInjector& faults_;
  std::unique_ptr<RegistryKey> inner_;
};

void FaultInjector::FailNthCall(Op op, int n) {
  FailNthCall(op, n, UsualFault(op));
}

void FaultInjector::FailNthCall(Op op, int n, Fault fault) {
  failAt_[static_cast<int>(op)] = n;
  failKind_[static_cast<int>(op)] = fault;
  failureFired_ = false;
}

void FaultInjector::FailPath(Op op, std::string_view path) {
  failPaths_.emplace_back(op, path);
}

void FaultInjector::ClearFailures() {
  failAt_.fill(0);
  failPaths_.clear();
  failureFired_ = false;
}

std::optional<Fault> FaultInjector::Inject(Op op, std::string_view path) {
  return Inject(op, path, path);
}

std::optional<Fault> FaultInjector::Inject(Op op, std::string_view path, std::string_view subject) {
  const int index = static_cast<int>(op);
  std::optional<Fault> fault;
  if (failAt_[index] > 0 && --failAt_[index] == 0) {
    fault = failKind_[index];
    failureFired_ = true;
  } else if (!failPaths_.empty()) {
    const std::string canonical = sim_.Canonical(path);
    for (const auto& [failOp, failPath] : failPaths_) {
      if (failOp == op && sim_.Canonical(failPath) == canonical) fault = UsualFault(op);
    }
  }
  if (!fault) return fault;
  if (*fault == Fault::kVanished && !subject.empty()) {
    for (std::string& gone : sim_.RemoveEntry(subject))
      vanished_.push_back(std::move(gone));
  } else if (*fault == Fault::kSharingViolation && !path.empty() && sim_.Exists(path)) {
    sim_.SetInUse(path);
  }
  return fault;
}

// --- Files

ReadResult FaultInjector::ReadFile(std::string_view path, FileAccess access) {
  if (const std::optional<Fault> fault = Inject(Op::kReadFile, path)) {
    ReadResult result;
    result.error = *fault == Fault::kVanished ? ReadError::kNotFound : ReadError::kOther;
    return result;
  }
  return ProxySystem::ReadFile(path, access);
}

bool FaultInjector::WriteFile(std::string_view path, std::string_view bytes) {
  const std::optional<Fault> fault = Inject(Op::kWriteFile, path);
  if (!fault) return ProxySystem::WriteFile(path, bytes);
  // A full disk leaves a truncated file where the write would have succeeded.
  if (*fault == Fault::kDiskFull) ProxySystem::WriteFile(path, bytes.substr(0, bytes.size() / 2));
  return false;
}

bool FaultInjector::ReplaceFile(std::string_view from, std::string_view to) {
  if (Inject(Op::kReplaceFile, to, from)) return false;
  return ProxySystem::ReplaceFile(from, to);
}

bool FaultInjector::DeleteFile(std::string_view path) {
  if (Inject(Op::kDeleteFile, path)) return false;
  return ProxySystem::DeleteFile(path);
}

bool FaultInjector::WriteNewFile(std::string_view path, std::string_view bytes) {
  const std::optional<Fault> fault = Inject(Op::kWriteNewFile, path);
  if (!fault) return ProxySystem::WriteNewFile(path, bytes);
  // A full disk stops the write half way; the file made for it is removed again.
  if (*fault == Fault::kDiskFull &&
      ProxySystem::WriteNewFile(path, bytes.substr(0, bytes.size() / 2))) {
    ProxySystem::DeleteFile(path);
  }
  return false;
}

std::optional<std::string> FaultInjector::ReadFileStart(std::string_view path, std::size_t count) {
  if (Inject(Op::kReadFileStart, path)) return std::nullopt;
  return ProxySystem::ReadFileStart(path, count);
}

bool FaultInjector::CreateFolder(std::string_view path) {
  if (Inject(Op::kCreateFolder, path)) return false;
  return ProxySystem::CreateFolder(path);
}

bool FaultInjector::RemoveFolder(std::string_view path) {
  if (Inject(Op::kRemoveFolder, path)) return false;
  return ProxySystem::RemoveFolder(path);
}

Recycled FaultInjector::MoveToRecycleBin(std::string_view path) {
  if (const std::optional<Fault> fault = Inject(Op::kMoveToRecycleBin, path)) {
    if (*fault == Fault::kPathTooLong) return Recycled::kPathTooLong;
    return *fault == Fault::kVanished ? Recycled::kMissing : Recycled::kRefused;
  }
  return ProxySystem::MoveToRecycleBin(path);
}

// --- Folders and look-ups

bool FaultInjector::ListFolder(std::string_view folder, FunctionRef<bool(const DirEntry&)> visit) {
  if (Inject(Op::kListFolder, folder)) return false;
  return ProxySystem::ListFolder(folder, visit);
}

std::optional<DirEntry> FaultInjector::LookUp(std::string_view path) {
  if (Inject(Op::kLookUp, path)) return std::nullopt;
  return ProxySystem::LookUp(path);
}

std::optional<FileStatus> FaultInjector::Status(std::string_view path) {
  if (Inject(Op::kStatus, path)) return std::nullopt;
  return ProxySystem::Status(path);
}

std::string FaultInjector::CurrentDirectory() {
  if (Inject(Op::kCurrentDirectory)) return {};
  return ProxySystem::CurrentDirectory();
}

std::string FaultInjector::FinalPath(std::string_view path) {
  if (Inject(Op::kFinalPath)) return {};
  return ProxySystem::FinalPath(path);
}

// --- Drives and the user, between instances

DriveType FaultInjector::GetDriveType(std::string_view drive) {
  if (Inject(Op::kGetDriveType)) return DriveType::kUnknown;
  return ProxySystem::GetDriveType(drive);
}

std::vector<DriveInfo> FaultInjector::Drives() {
  if (Inject(Op::kDrives)) return {};
  return ProxySystem::Drives();
}

bool FaultInjector::IsHostRootDrive(char letter) {
  // A drive that cannot be asked might be the host's root.
  if (Inject(Op::kIsHostRootDrive)) return true;
  return ProxySystem::IsHostRootDrive(letter);
}

bool FaultInjector::IsAdministrator() {
  if (Inject(Op::kIsAdministrator)) return false;
  return ProxySystem::IsAdministrator();
}

bool FaultInjector::ProcessRunning(std::string_view programFile) {
  // Processes that cannot be listed may include this one.
  if (Inject(Op::kProcessRunning)) return true;
  return ProxySystem::ProcessRunning(programFile);
}

std::uint32_t FaultInjector::RegisterWindowMessage(std::string_view name) {
  if (Inject(Op::kRegisterWindowMessage)) return 0;
  return ProxySystem::RegisterWindowMessage(name);
}

std::unique_ptr<NamedSemaphore> FaultInjector::CreateNamedSemaphore(std::string_view name,
                                                                    bool& alreadyExisted) {
  if (Inject(Op::kCreateNamedSemaphore)) {
    alreadyExisted = false;
    return nullptr;
  }
  return ProxySystem::CreateNamedSemaphore(name, alreadyExisted);
}

void FaultInjector::BroadcastMessage(std::uint32_t message) {
  if (Inject(Op::kBroadcastMessage)) return;
  ProxySystem::BroadcastMessage(message);
}

// --- System folders and paths

std::string FaultInjector::TempFolder() {
  if (Inject(Op::kTempFolder)) return {};
  return ProxySystem::TempFolder();
}

std::optional<std::string> FaultInjector::EnvironmentVariable(std::string_view name) {
  if (Inject(Op::kEnvironmentVariable)) return std::nullopt;
  return ProxySystem::EnvironmentVariable(name);
}

std::string FaultInjector::ProgramFolder() {
  if (Inject(Op::kProgramFolder)) return {};
  return ProxySystem::ProgramFolder();
}

std::string FaultInjector::WindowsFolder() {
  if (Inject(Op::kWindowsFolder)) return {};
  return ProxySystem::WindowsFolder();
}

std::string FaultInjector::SpecialFolder(int csidl) {
  if (Inject(Op::kSpecialFolder)) return {};
  return ProxySystem::SpecialFolder(csidl);
}

std::string FaultInjector::FullPathName(std::string_view path) {
  if (Inject(Op::kFullPathName)) return {};
  return ProxySystem::FullPathName(path);
}

// --- Registry, URL cache, shell

std::unique_ptr<RegistryKey> FaultInjector::OpenRegistryKey(RegistryRoot root,
                                                            std::string_view path) {
  if (Inject(Op::kOpenRegistryKey)) return nullptr;
  std::unique_ptr<RegistryKey> key = ProxySystem::OpenRegistryKey(root, path);
  if (!key) return nullptr;
  return std::make_unique<Key>(*this, std::move(key));
}

bool FaultInjector::RegistryKeyExists(RegistryRoot root, std::string_view path) {
  if (Inject(Op::kRegistryKeyExists)) return false;
  return ProxySystem::RegistryKeyExists(root, path);
}

std::optional<WindowsVersion> FaultInjector::GetWindowsVersion() {
  if (Inject(Op::kGetWindowsVersion)) return std::nullopt;
  return ProxySystem::GetWindowsVersion();
}

void FaultInjector::ListUrlCache(FunctionRef<bool(const std::string& sourceUrl)> visit) {
  if (Inject(Op::kListUrlCache)) return;
  ProxySystem::ListUrlCache(visit);
}

bool FaultInjector::DeleteUrlCacheItem(std::string_view sourceUrl) {
  if (Inject(Op::kDeleteUrlCacheItem)) return false;
  return ProxySystem::DeleteUrlCacheItem(sourceUrl);
}

void FaultInjector::ShellOpen(std::string_view target) {
  if (Inject(Op::kShellOpen)) return;
  ProxySystem::ShellOpen(target);
}

void FaultInjector::EmptyRecycleBin() {
  if (Inject(Op::kEmptyRecycleBin)) return;
  ProxySystem::EmptyRecycleBin();
}

std::optional<RecycleBinContent> FaultInjector::QueryRecycleBin() {
  if (Inject(Op::kQueryRecycleBin)) return std::nullopt;
  return ProxySystem::QueryRecycleBin();
}

void FaultInjector::ClearRecentDocuments() {
  if (Inject(Op::kClearRecentDocuments)) return;
  ProxySystem::ClearRecentDocuments();
}

}  // namespace platform::sim
