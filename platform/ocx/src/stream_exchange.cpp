#include "stream_exchange.h"

#include <cstring>

namespace ocx {

PropExchange::~PropExchange() = default;

void appendGuid(std::vector<std::uint8_t>& out, const automation::Guid& guid) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(guid.data1 >> (8 * i)));
  for (std::uint16_t v : {guid.data2, guid.data3}) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  out.insert(out.end(), std::begin(guid.data4), std::end(guid.data4));
}

automation::Guid guidFromBytes(std::span<const std::uint8_t, 16> b) {
  automation::Guid g;
  g.data1 = std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
            std::uint32_t{b[3]} << 24;
  g.data2 = static_cast<std::uint16_t>(b[4] | b[5] << 8);
  g.data3 = static_cast<std::uint16_t>(b[6] | b[7] << 8);
  std::memcpy(g.data4, b.data() + 8, 8);
  return g;
}

void StreamSaver::put(std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void StreamSaver::putBytes(std::span<const std::uint8_t> bytes) {
  put(static_cast<std::uint32_t>(bytes.size()), 4);
  out_.insert(out_.end(), bytes.begin(), bytes.end());
}

bool StreamSaver::version(std::uint32_t& value) {
  put(value, 4);
  return true;
}
bool StreamSaver::i2(std::string_view, std::int16_t& value) {
  put(static_cast<std::uint16_t>(value), 2);
  return true;
}
bool StreamSaver::i4(std::string_view, std::int32_t& value) {
  put(static_cast<std::uint32_t>(value), 4);
  return true;
}
bool StreamSaver::color(std::string_view, std::uint32_t& value) {
  put(value, 4);
  return true;
}
bool StreamSaver::boolean(std::string_view, bool& value) {
  put(value ? 0xFFFFu : 0u, 2);
  return true;
}
bool StreamSaver::r4(std::string_view, float& value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  put(bits, 4);
  return true;
}
bool StreamSaver::text(std::string_view, std::string& value) {
  putBytes({reinterpret_cast<const std::uint8_t*>(value.data()), value.size()});
  return true;
}
bool StreamSaver::binary(std::string_view, std::vector<std::uint8_t>& bytes) {
  putBytes(bytes);
  return true;
}
bool StreamSaver::object(std::string_view, automation::Guid& clsid,
                         std::vector<std::uint8_t>& stream) {
  appendGuid(out_, clsid);
  putBytes(stream);
  return true;
}

bool StreamLoader::get(std::uint32_t& value, int bytes) {
  if (!ok_ || bytes_.size() - at_ < static_cast<std::size_t>(bytes)) {
    ok_ = false;
    return false;
  }
  value = 0;
  for (int i = 0; i < bytes; ++i) value |= std::uint32_t{bytes_[at_ + i]} << (8 * i);
  at_ += static_cast<std::size_t>(bytes);
  return true;
}

bool StreamLoader::getBytes(std::vector<std::uint8_t>& out) {
  std::uint32_t n = 0;
  if (!get(n, 4)) return false;
  // A count beyond the bytes that follow ends the stream: nothing after it can be trusted.
  if (bytes_.size() - at_ < n) {
    ok_ = false;
    return false;
  }
  out.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(at_),
             bytes_.begin() + static_cast<std::ptrdiff_t>(at_ + n));
  at_ += n;
  return true;
}

bool StreamLoader::version(std::uint32_t& value) { return get(value, 4); }

bool StreamLoader::i2(std::string_view, std::int16_t& value) {
  std::uint32_t v = 0;
  if (!get(v, 2)) return false;
  value = static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
  return true;
}
bool StreamLoader::i4(std::string_view, std::int32_t& value) {
  std::uint32_t v = 0;
  if (!get(v, 4)) return false;
  value = static_cast<std::int32_t>(v);
  return true;
}
bool StreamLoader::color(std::string_view, std::uint32_t& value) { return get(value, 4); }
bool StreamLoader::boolean(std::string_view, bool& value) {
  std::uint32_t v = 0;
  if (!get(v, 2)) return false;
  value = v != 0;
  return true;
}
bool StreamLoader::r4(std::string_view, float& value) {
  std::uint32_t bits = 0;
  if (!get(bits, 4)) return false;
  std::memcpy(&value, &bits, sizeof value);
  return true;
}
bool StreamLoader::text(std::string_view, std::string& value) {
  std::vector<std::uint8_t> bytes;
  if (!getBytes(bytes)) return false;
  value.assign(bytes.begin(), bytes.end());
  return true;
}
bool StreamLoader::binary(std::string_view, std::vector<std::uint8_t>& bytes) {
  return getBytes(bytes);
}
bool StreamLoader::object(std::string_view, automation::Guid& clsid,
                          std::vector<std::uint8_t>& stream) {
  if (!ok_ || bytes_.size() - at_ < 16) {
    ok_ = false;
    return false;
  }
  const automation::Guid id =
      guidFromBytes(std::span<const std::uint8_t, 16>(bytes_.data() + at_, 16));
  at_ += 16;
  if (!getBytes(stream)) return false;
  clsid = id;
  return true;
}

}  // namespace ocx
