#include "host/clipboard.h"

#include <algorithm>

namespace host {

bool Clipboard::openedByCaller() const {
  return openThread_ && *openThread_ == std::this_thread::get_id();
}

bool Clipboard::open(std::uintptr_t window) {
  std::lock_guard lock(mutex_);
  if (openThread_ && !openedByCaller()) return false;
  openThread_ = std::this_thread::get_id();
  openWindow_ = window;
  return true;
}

bool Clipboard::close() {
  std::lock_guard lock(mutex_);
  if (!openedByCaller()) return false;
  openThread_.reset();
  openWindow_ = 0;
  return true;
}

bool Clipboard::empty() {
  std::lock_guard lock(mutex_);
  if (!openedByCaller()) return false;
  entries_.clear();
  owner_ = openWindow_;
  ++sequence_;
  return true;
}

bool Clipboard::setData(unsigned format, std::vector<std::uint8_t> data) {
  std::lock_guard lock(mutex_);
  if (!openedByCaller() || format == 0) return false;
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [format](const auto& entry) { return entry.first == format; });
  if (it != entries_.end()) {
    it->second = std::move(data);
  } else {
    entries_.emplace_back(format, std::move(data));
  }
  ++sequence_;
  return true;
}

std::optional<std::vector<std::uint8_t>> Clipboard::data(unsigned format) const {
  std::lock_guard lock(mutex_);
  for (const auto& [f, bytes] : entries_) {
    if (f == format) return bytes;
  }
  return std::nullopt;
}

bool Clipboard::hasFormat(unsigned format) const {
  std::lock_guard lock(mutex_);
  return std::any_of(entries_.begin(), entries_.end(),
                     [format](const auto& entry) { return entry.first == format; });
}

std::vector<unsigned> Clipboard::formats() const {
  std::lock_guard lock(mutex_);
  std::vector<unsigned> result;
  result.reserve(entries_.size());
  for (const auto& entry : entries_) result.push_back(entry.first);
  return result;
}

std::uintptr_t Clipboard::owner() const {
  std::lock_guard lock(mutex_);
  return owner_;
}

std::uintptr_t Clipboard::openWindow() const {
  std::lock_guard lock(mutex_);
  return openWindow_;
}

bool Clipboard::isOpen() const {
  std::lock_guard lock(mutex_);
  return openThread_.has_value();
}

std::uint32_t Clipboard::sequenceNumber() const {
  std::lock_guard lock(mutex_);
  return sequence_;
}

}  // namespace host
