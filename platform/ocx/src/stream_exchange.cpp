#include "stream_exchange.h"

#include <cstring>

namespace ocx {

PropExchange::~PropExchange() = default;

void appendGuid(std::vector<std::uint8_t>& out, const automation::Guid& guid) {
  util::appendU32(out, guid.data1);
  util::appendU16(out, guid.data2);
  util::appendU16(out, guid.data3);
  out.insert(out.end(), std::begin(guid.data4), std::end(guid.data4));
}

automation::Guid guidFromBytes(std::span<const std::uint8_t, 16> b) {
  automation::Guid g;
  g.data1 = util::loadU32(b);
  g.data2 = util::loadU16(b.subspan(4));
  g.data3 = util::loadU16(b.subspan(6));
  std::memcpy(g.data4, b.data() + 8, 8);
  return g;
}

void StreamSaver::putBytes(std::span<const std::uint8_t> bytes) {
  util::appendU32(out_, static_cast<std::uint32_t>(bytes.size()));
  out_.insert(out_.end(), bytes.begin(), bytes.end());
}

bool StreamSaver::version(std::uint32_t& value) {
  util::appendU32(out_, value);
  return true;
}
bool StreamSaver::i2(std::string_view, std::int16_t& value) {
  util::appendI16(out_, value);
  return true;
}
bool StreamSaver::i4(std::string_view, std::int32_t& value) {
  util::appendI32(out_, value);
  return true;
}
bool StreamSaver::color(std::string_view, std::uint32_t& value) {
  util::appendU32(out_, value);
  return true;
}
bool StreamSaver::boolean(std::string_view, bool& value) {
  util::appendU16(out_, value ? 0xFFFFu : 0u);
  return true;
}
bool StreamSaver::r4(std::string_view, float& value) {
  util::appendF32(out_, value);
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

// A count beyond the bytes that follow ends the stream: nothing after it can be trusted.
bool StreamLoader::getBytes(std::vector<std::uint8_t>& out) {
  const std::span<const std::uint8_t> bytes = in_.bytes(in_.u32());
  if (!in_.ok()) return false;
  out.assign(bytes.begin(), bytes.end());
  return true;
}

bool StreamLoader::version(std::uint32_t& value) { return get(value, in_.u32()); }
bool StreamLoader::i2(std::string_view, std::int16_t& value) { return get(value, in_.i16()); }
bool StreamLoader::i4(std::string_view, std::int32_t& value) { return get(value, in_.i32()); }
bool StreamLoader::color(std::string_view, std::uint32_t& value) { return get(value, in_.u32()); }
bool StreamLoader::boolean(std::string_view, bool& value) { return get(value, in_.u16() != 0); }
bool StreamLoader::r4(std::string_view, float& value) { return get(value, in_.f32()); }
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
  const std::span<const std::uint8_t> id = in_.bytes(16);
  if (!in_.ok() || !getBytes(stream)) return false;
  clsid = guidFromBytes(id.first<16>());
  return true;
}

}  // namespace ocx
