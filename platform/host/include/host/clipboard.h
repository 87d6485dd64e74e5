// The desktop's clipboard, kept in memory: one store of data by format, opened by one window at
// a time, owned by the window that last emptied it.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace host {

constexpr unsigned kCfText = 1;
constexpr unsigned kCfBitmap = 2;
constexpr unsigned kCfDib = 8;

// Window ids are the hWnd values the host hands out; 0 stands for "no window".
class Clipboard {
 public:
  Clipboard() = default;
  Clipboard(const Clipboard&) = delete;
  Clipboard& operator=(const Clipboard&) = delete;

  // Opens the clipboard for a window on the calling thread. Fails while it is open on another
  // thread; opening it again on the same thread succeeds and switches the window.
  bool open(std::uintptr_t window);
  // Fails when the calling thread does not have it open.
  bool close();

  // The calls below change the contents. Each fails unless the calling thread has the clipboard
  // open.
  // Discards every format; the opening window becomes the owner.
  bool empty();
  // Replaces the data of that format and keeps the others; the clipboard takes the bytes.
  // Format 0 is refused.
  bool setData(unsigned format, std::vector<std::uint8_t> data);

  // Reading needs no open clipboard here; the platform's rule exists to keep other writers out,
  // and reads are made atomic by the lock instead.
  std::optional<std::vector<std::uint8_t>> data(unsigned format) const;
  bool hasFormat(unsigned format) const;
  // Formats in the order they were first set since the last empty().
  std::vector<unsigned> formats() const;

  std::uintptr_t owner() const;
  // The window that has it open, 0 when closed.
  std::uintptr_t openWindow() const;
  bool isOpen() const;
  // Advances on every change of the contents.
  std::uint32_t sequenceNumber() const;

 private:
  bool openedByCaller() const;

  mutable std::mutex mutex_;
  std::vector<std::pair<unsigned, std::vector<std::uint8_t>>> entries_;
  std::uintptr_t owner_ = 0;
  std::uintptr_t openWindow_ = 0;
  std::optional<std::thread::id> openThread_;
  std::uint32_t sequence_ = 0;
};

}  // namespace host
