// Serialises read-modify-write of a registry file between threads and between processes.
#pragma once

#include <chrono>
#include <filesystem>
#include <mutex>

namespace automation::detail {

// The lock is taken on the registry's folder, so that no lock file is left beside it. Anyone who
// can read the folder can hold that lock (a registry in /tmp shares its folder with every user),
// so the wait is bounded: after `wait` the lock is given up on, with one line saying so.
class RegistryLock {
 public:
  RegistryLock(const std::filesystem::path& file, std::chrono::milliseconds wait);
  ~RegistryLock();
  RegistryLock(const RegistryLock&) = delete;
  RegistryLock& operator=(const RegistryLock&) = delete;
  bool held() const { return held_; }

 private:
  std::lock_guard<std::mutex> threadLock_;
  int fd_ = -1;
  bool held_ = false;
};

}  // namespace automation::detail
