#include "bag_exchange.h"

#include <strings.h>

#include <charconv>
#include <cstdio>
#include <optional>
#include <span>

#include "base64.h"
#include "stream_exchange.h"
#include "util/text.h"

namespace ocx {
namespace {

constexpr std::string_view kVersionName = "_Version";
// Bounds on what one bag may make the loader keep: a line longer than any real entry, or more
// lines than any control has entries, is not read.
constexpr std::size_t kMaxLineBytes = 16u << 20;

// A CR LF file leaves a CR at the end of each line.
std::string_view trim(std::string_view s) {
  return util::trimRight(util::trimLeft(s, " \t"), " \t\r");
}

using util::equalsNoCase;

// A string is written as quoted runs (a quote doubled) joined by " & " to Chr(n) for each
// control character, so that line breaks cannot end the line early: "a" & Chr(10) & "b".
constexpr std::string_view kJoin = " & ";
constexpr std::string_view kChr = "Chr(";

std::string quoteText(std::string_view value) {
  std::string out;
  bool open = false;
  for (char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20) {
      if (open) out.push_back('"');
      if (!out.empty()) out.append(kJoin);
      out.append(kChr).append(std::to_string(byte)).push_back(')');
      open = false;
      continue;
    }
    if (!open) {
      if (!out.empty()) out.append(kJoin);
      out.push_back('"');
      open = true;
    }
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  if (open) out.push_back('"');
  return out.empty() ? "\"\"" : out;
}

// The quoted run at the start of text, taken off it; false when text does not start with one.
bool takeQuoted(std::string_view& text, std::string& out) {
  if (text.empty() || text.front() != '"') return false;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] != '"') {
      out.push_back(text[i]);
    } else if (i + 1 < text.size() && text[i + 1] == '"') {
      out.push_back('"');
      ++i;
    } else {
      text.remove_prefix(i + 1);
      return true;
    }
  }
  return false;
}

// Chr(n) at the start of text for a character of the ASCII range, taken off it.
bool takeChr(std::string_view& text, std::string& out) {
  if (text.size() < kChr.size() || !equalsNoCase(text.substr(0, kChr.size()), kChr)) return false;
  text.remove_prefix(kChr.size());
  unsigned code = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), code);
  if (r.ec != std::errc() || code > 0x7F || r.ptr == text.data() + text.size() || *r.ptr != ')')
    return false;
  text.remove_prefix(static_cast<std::size_t>(r.ptr - text.data()) + 1);
  out.push_back(static_cast<char>(code));
  return true;
}

std::optional<std::string> unquoteText(std::string_view text) {
  std::string out;
  while (true) {
    if (!takeQuoted(text, out) && !takeChr(text, out)) return std::nullopt;
    text = trim(text);
    if (text.empty()) return out;
    if (text.front() != '&') return std::nullopt;
    text = trim(text.substr(1));
  }
}

}  // namespace

BagSaver::BagSaver(const automation::Guid& clsid) { out_ = "[Class " + clsid.toString() + "]\n"; }

void BagSaver::line(std::string_view name, std::string_view value) {
  out_.append(name).append(" = ").append(value).push_back('\n');
}

bool BagSaver::version(std::uint32_t& value) {
  line(kVersionName, std::to_string(value));
  return true;
}
bool BagSaver::i2(std::string_view name, std::int16_t& value) {
  line(name, std::to_string(value));
  return true;
}
bool BagSaver::i4(std::string_view name, std::int32_t& value) {
  line(name, std::to_string(value));
  return true;
}
bool BagSaver::color(std::string_view name, std::uint32_t& value) {
  char text[16];
  std::snprintf(text, sizeof text, "&H%08X", value);
  line(name, text);
  return true;
}
bool BagSaver::boolean(std::string_view name, bool& value) {
  line(name, value ? "True" : "False");
  return true;
}
bool BagSaver::r4(std::string_view name, float& value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  line(name, std::string_view(text, static_cast<std::size_t>(result.ptr - text)));
  return true;
}
bool BagSaver::text(std::string_view name, std::string& value) {
  line(name, quoteText(value));
  return true;
}
bool BagSaver::binary(std::string_view name, std::vector<std::uint8_t>& bytes) {
  line(name, encodeBase64(bytes));
  return true;
}
bool BagSaver::object(std::string_view name, automation::Guid& clsid,
                      std::vector<std::uint8_t>& stream) {
  StreamSaver bytes;
  bytes.object(name, clsid, stream);
  line(name, encodeBase64(bytes.take()));
  return true;
}

bool BagLoader::LessNoCase::operator()(const std::string& a, const std::string& b) const {
  return strcasecmp(a.c_str(), b.c_str()) < 0;
}

BagLoader::BagLoader(std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (raw.size() > kMaxLineBytes) continue;
    const std::string_view l = trim(raw);
    if (l.empty() || l.front() == '[') continue;
    const std::size_t eq = l.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view name = trim(l.substr(0, eq));
    if (name.empty() || name.find('\0') != std::string_view::npos) continue;
    lines_[std::string(name)].values.emplace_back(trim(l.substr(eq + 1)));
  }
}

const std::string* BagLoader::next(std::string_view name) {
  const auto it = lines_.find(std::string(name));
  if (it == lines_.end() || it->second.values.empty()) return nullptr;
  Lines& l = it->second;
  const std::size_t i = std::min(l.used, l.values.size() - 1);
  ++l.used;
  return &l.values[i];
}

bool BagLoader::integer(std::string_view name, std::int64_t lo, std::int64_t hi,
                        std::int64_t& value) {
  const std::string* text = next(name);
  if (!text || text->empty()) return false;
  std::string_view digits = *text;
  std::int64_t v = 0;
  if (digits.size() > 2 && digits[0] == '&' && (digits[1] == 'H' || digits[1] == 'h')) {
    // &H is the colours' form: 32 bits, read unsigned.
    digits.remove_prefix(2);
    std::uint32_t u = 0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), u, 16);
    if (r.ec != std::errc() || r.ptr != digits.data() + digits.size()) return false;
    v = (lo < 0 && hi <= 0x7FFFFFFF) ? static_cast<std::int32_t>(u) : static_cast<std::int64_t>(u);
  } else {
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (r.ec != std::errc() || r.ptr != digits.data() + digits.size()) return false;
  }
  if (v < lo || v > hi) return false;
  value = v;
  return true;
}

bool BagLoader::version(std::uint32_t& value) {
  std::int64_t v = 0;
  if (!integer(kVersionName, 0, 0xFFFFFFFF, v)) return false;
  value = static_cast<std::uint32_t>(v);
  return true;
}
bool BagLoader::i2(std::string_view name, std::int16_t& value) {
  std::int64_t v = 0;
  if (!integer(name, -32768, 32767, v)) return false;
  value = static_cast<std::int16_t>(v);
  return true;
}
bool BagLoader::i4(std::string_view name, std::int32_t& value) {
  std::int64_t v = 0;
  if (!integer(name, INT32_MIN, INT32_MAX, v)) return false;
  value = static_cast<std::int32_t>(v);
  return true;
}
bool BagLoader::color(std::string_view name, std::uint32_t& value) {
  std::int64_t v = 0;
  if (!integer(name, INT32_MIN, 0xFFFFFFFF, v)) return false;
  value = static_cast<std::uint32_t>(v);
  return true;
}
bool BagLoader::boolean(std::string_view name, bool& value) {
  const std::string* text = next(name);
  if (!text) return false;
  if (equalsNoCase(*text, "True") || *text == "-1" || *text == "1") {
    value = true;
  } else if (equalsNoCase(*text, "False") || *text == "0") {
    value = false;
  } else {
    return false;
  }
  return true;
}
bool BagLoader::r4(std::string_view name, float& value) {
  const std::string* text = next(name);
  if (!text || text->empty()) return false;
  float v = 0.0f;
  const auto r = std::from_chars(text->data(), text->data() + text->size(), v);
  if (r.ec != std::errc() || r.ptr != text->data() + text->size()) return false;
  value = v;
  return true;
}
bool BagLoader::text(std::string_view name, std::string& value) {
  const std::string* raw = next(name);
  if (!raw) return false;
  std::optional<std::string> text = unquoteText(*raw);
  if (!text) return false;
  value = std::move(*text);
  return true;
}
bool BagLoader::binary(std::string_view name, std::vector<std::uint8_t>& bytes) {
  const std::string* raw = next(name);
  if (!raw) return false;
  auto decoded = decodeBase64(*raw);
  if (!decoded) return false;
  bytes = std::move(*decoded);
  return true;
}
bool BagLoader::object(std::string_view name, automation::Guid& clsid,
                       std::vector<std::uint8_t>& stream) {
  const std::string* raw = next(name);
  if (!raw) return false;
  const auto bytes = decodeBase64(*raw);
  if (!bytes) return false;
  StreamLoader reader(*bytes);
  return reader.object(name, clsid, stream);
}

}  // namespace ocx
