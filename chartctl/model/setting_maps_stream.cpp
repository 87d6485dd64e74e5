#include "setting_maps_stream.h"

#include <algorithm>
#include <string_view>

#include "scale/scale_info.h"
#include "util/little_endian.h"

namespace kvplotax {
namespace {

constexpr std::uint32_t kSectionVersion = 1;
constexpr std::uint16_t kMarker = 0xFFFF;
constexpr std::uint16_t kBlockVersion = 1;
constexpr std::string_view kBlockName = "Properties";
constexpr std::string_view kAxisLabelsName = "AxisLabels";

class Writer {
 public:
  explicit Writer(std::vector<std::uint8_t>& out) : out_(out) {}
  void u16(std::uint16_t v) { util::appendU16(out_, v); }
  void u32(std::uint32_t v) { util::appendU32(out_, v); }
  void i32(std::int32_t v) { util::appendI32(out_, v); }
  void f32(float v) { util::appendF32(out_, v); }
  void header(std::string_view name) {
    u16(kMarker);
    u16(kBlockVersion);
    u16(static_cast<std::uint16_t>(name.size()));
    out_.insert(out_.end(), name.begin(), name.end());
  }
  std::vector<std::uint8_t>& out() { return out_; }

 private:
  std::vector<std::uint8_t>& out_;
};

class Reader : public util::LittleEndianReader {
 public:
  using LittleEndianReader::LittleEndianReader;
  // A 32-bit field that holds a 16-bit property value.
  std::int32_t i16in32() { return static_cast<std::int16_t>(u32() & 0xFFFF); }
  bool header(std::string_view name) {
    if (u16() != kMarker || u16() != kBlockVersion || u16() != name.size()) return false;
    const auto text = bytes(name.size());
    return ok() && std::equal(text.begin(), text.end(), name.begin());
  }
};

template <class Record, class Write>
void writeSection(Writer& w, const SettingMap<Record>& map, Write write) {
  // Only entries that are written are counted; the count comes first, so it is patched in.
  const std::size_t countAt = w.out().size();
  w.u32(0);
  w.u32(kSectionVersion);
  std::uint32_t count = 0;
  for (const auto& [key, record] : map) {
    if (!write(key, record)) continue;
    ++count;
  }
  util::storeU32(std::span(w.out()).subspan(countAt), count);
}

// Reads one section; false when the section was cut short (nothing after it is read).
template <class Record, class Read>
bool readSection(Reader& r, SettingMap<Record>& map, bool testVersion, Read read) {
  const std::uint32_t count = r.u32();
  const std::uint32_t version = r.u32();
  if (!r.ok() || (testVersion && version != kSectionVersion)) return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::int16_t key = static_cast<std::int16_t>(r.u32() & 0xFFFF);
    Record record{};
    if (!read(r, key, record) || !r.ok()) return false;
    if (key > 0) map.insert_or_assign(key, std::move(record));
  }
  return true;
}

scale::ScaleInfo infoOf(const ScaleObject& s) {
  scale::ScaleInfo info;
  info.number = s.number();
  info.action = s.action;
  info.window = s.window;
  info.viewport = s.viewport;
  info.dimension = s.dimension();
  for (int d : {0, 1}) info.axes[static_cast<std::size_t>(d)] = s.axis(d);
  const ScaleAxisSettings& a = s.current();
  info.factor = a.factor;
  info.caption = a.caption;
  info.descender = a.descender ? 1 : 0;
  info.labelPen = a.labelPen;
  info.labelPosition = a.labelPosition;
  info.labelOrientation = a.labelOrientation;
  info.labelLocation = a.labelLocation;
  info.labelPath = a.labelPath;
  return info;
}

bool labelsDiffer(const ScaleAxisSettings& a, const ScaleAxisSettings& b) {
  return a.factor != b.factor || a.caption != b.caption || a.labelPen != b.labelPen ||
         a.labelPosition != b.labelPosition || a.labelOrientation != b.labelOrientation ||
         a.labelLocation != b.labelLocation || a.labelPath != b.labelPath;
}

// Values a property would have refused keep the new record's default.
void acceptAxis(ScaleAxisSettings& to, const scale::ScaleInfoAxis& from) {
  const std::pair<ScaleField, std::int32_t> fields[] = {{ScaleField::Pen, from.pen},
                                                        {ScaleField::Places, from.places},
                                                        {ScaleField::Gap, from.gap},
                                                        {ScaleField::Position, from.position},
                                                        {ScaleField::Orientation, from.orientation},
                                                        {ScaleField::Location, from.location},
                                                        {ScaleField::Path, from.path},
                                                        {ScaleField::Visibility, from.visibility}};
  std::int32_t* slots[] = {&to.pen,         &to.places,   &to.gap,  &to.position,
                           &to.orientation, &to.location, &to.path, &to.visibility};
  for (std::size_t i = 0; i < std::size(fields); ++i) {
    if (ScaleObject::accepts(fields[i].first, fields[i].second)) *slots[i] = fields[i].second;
  }
}

void acceptLabels(ScaleAxisSettings& to, float factor, const std::string& caption,
                  const std::int32_t (&label)[5]) {
  if (ScaleObject::acceptsFactor(factor)) to.factor = factor;
  to.caption = caption;
  to.descender = caption.find_first_of("gjpqy") != std::string::npos;
  const ScaleField fields[] = {ScaleField::LabelPen, ScaleField::LabelPosition,
                               ScaleField::LabelOrientation, ScaleField::LabelLocation,
                               ScaleField::LabelPath};
  std::int32_t* slots[] = {&to.labelPen, &to.labelPosition, &to.labelOrientation, &to.labelLocation,
                           &to.labelPath};
  for (std::size_t i = 0; i < 5; ++i) {
    if (ScaleObject::accepts(fields[i], label[i])) *slots[i] = label[i];
  }
}

void readAxisLabels(Reader& r, CSettingMaps& maps) {
  if (!r.header(kAxisLabelsName)) return;
  const std::uint32_t count = r.u32();
  for (std::uint32_t i = 0; i < count && r.ok(); ++i) {
    const std::int32_t key = static_cast<std::int16_t>(r.u32() & 0xFFFF);
    const std::uint32_t dimension = r.u32();
    const float factor = r.f32();
    const auto caption = r.bytes(r.u8());
    std::int32_t label[5];
    for (std::int32_t& v : label) v = r.i32();
    if (!r.ok()) return;
    std::unique_ptr<ScaleObject>* slot = key > 0 ? findSetting(maps.scales, key) : nullptr;
    ScaleObject* s = slot ? slot->get() : nullptr;
    if (!s || dimension > 1) continue;
    acceptLabels(s->axis(static_cast<int>(dimension)), factor,
                 std::string(caption.begin(), caption.end()), label);
  }
}

}  // namespace

void writeSettingMaps(const CSettingMaps& maps, std::vector<std::uint8_t>& out) {
  Writer w(out);
  w.header(kBlockName);
  writeSection(w, maps.pens, [&w](std::int16_t key, const PenSettings& p) {
    w.u32(static_cast<std::uint16_t>(key));
    for (std::int32_t v : {p.style, p.width, std::int32_t{0}}) w.i32(v);
    w.u32(p.color);
    w.u32(p.intenseColor);
    return true;
  });
  writeSection(w, maps.viewports, [&w](std::int16_t key, const ViewportSettings& v) {
    w.u32(static_cast<std::uint16_t>(key));
    for (std::int32_t f : {std::int32_t{v.storageOn ? 1 : 0}, v.left, v.right, v.top, v.bottom})
      w.i32(f);
    return true;
  });
  writeSection(w, maps.windows, [&w](std::int16_t key, const WindowObject& wnd) {
    w.u32(static_cast<std::uint16_t>(key));
    w.header(kBlockName);
    for (float f : {wnd.xmin, wnd.ymin, wnd.width, wnd.height}) w.f32(f);
    return true;
  });
  writeSection(w, maps.xforms, [&w](std::int16_t key, const XformSettings& x) {
    w.u32(static_cast<std::uint16_t>(key));
    w.i32(x.kind);
    w.f32(x.gain);
    w.f32(x.offset);
    w.i32(x.msb);
    w.i32(x.lsb);
    return true;
  });
  writeSection(w, maps.channels, [&w](std::int16_t key, const ChannelSettings& c) {
    w.u32(static_cast<std::uint16_t>(key));
    for (std::int32_t v : {c.action, c.style, c.mode, c.bufLen, c.pen, c.window, c.viewport})
      w.i32(v);
    w.f32(c.offsetX);
    w.f32(c.offsetY);
    w.i32(c.userData);
    return true;
  });
  for (const SettingMap<ChnDataSettings>* data : {&maps.horzData, &maps.vertData}) {
    writeSection(w, *data, [&w](std::int16_t key, const ChnDataSettings& d) {
      w.u32(static_cast<std::uint16_t>(key));
      for (std::int32_t v : {d.dimension, d.shape, d.type, d.incr, d.offset, d.xform}) w.i32(v);
      return true;
    });
  }
  writeSection(w, maps.scales, [&w](std::int16_t key, const std::unique_ptr<ScaleObject>& s) {
    if (!s) return false;
    w.u32(static_cast<std::uint16_t>(key));
    scale::writeScaleInfo(infoOf(*s), w.out());
    return true;
  });
}

void writeScaleAxisLabels(const CSettingMaps& maps, std::vector<std::uint8_t>& out) {
  std::uint32_t differing = 0;
  for (const auto& [key, s] : maps.scales)
    if (s && labelsDiffer(s->axis(0), s->axis(1))) ++differing;
  if (differing == 0) return;
  Writer w(out);
  w.header(kAxisLabelsName);
  w.u32(differing);
  for (const auto& [key, s] : maps.scales) {
    if (!s || !labelsDiffer(s->axis(0), s->axis(1))) continue;
    const int other = 1 - s->dimension();
    const ScaleAxisSettings& a = s->axis(other);
    w.u32(static_cast<std::uint16_t>(key));
    w.u32(static_cast<std::uint32_t>(other));
    w.f32(a.factor);
    const std::size_t n = scale::savedCaptionBytes(a.caption);
    w.out().push_back(static_cast<std::uint8_t>(n));
    w.out().insert(w.out().end(), a.caption.begin(), a.caption.begin() + static_cast<long>(n));
    for (std::int32_t v :
         {a.labelPen, a.labelPosition, a.labelOrientation, a.labelLocation, a.labelPath})
      w.i32(v);
  }
}

void readScaleAxisLabels(std::span<const std::uint8_t> bytes, CSettingMaps& maps) {
  Reader r(bytes);
  readAxisLabels(r, maps);
}

bool readSettingMaps(std::span<const std::uint8_t> bytes, CSettingMaps& maps) {
  Reader r(bytes);
  if (!r.header(kBlockName)) return false;
  const bool pensRead =
      readSection(r, maps.pens, true, [](Reader& in, std::int16_t, PenSettings& p) {
        p.style = in.i16in32();
        p.width = in.i16in32();
        in.skip(4);
        p.color = in.u32();
        p.intenseColor = in.u32();
        return true;
      });
  if (!pensRead) {
    // Only a wrong version of the first section leaves every map empty; a cut one keeps what
    // was whole.
    if (r.ok()) maps = CSettingMaps{};
    return r.ok() ? false : true;
  }
  const bool more =
      readSection(r, maps.viewports, false,
                  [](Reader& in, std::int16_t, ViewportSettings& v) {
                    v.storageOn = in.i32() != 0;
                    v.left = in.i32();
                    v.right = in.i32();
                    v.top = in.i32();
                    v.bottom = in.i32();
                    return true;
                  }) &&
      readSection(r, maps.windows, false,
                  [](Reader& in, std::int16_t, WindowObject& w) {
                    if (!in.header(kBlockName)) return false;
                    w.xmin = in.f32();
                    w.ymin = in.f32();
                    w.width = in.f32();
                    w.height = in.f32();
                    return true;
                  }) &&
      readSection(r, maps.xforms, false,
                  [](Reader& in, std::int16_t, XformSettings& x) {
                    x.kind = in.i32();
                    x.gain = in.f32();
                    x.offset = in.f32();
                    x.msb = in.i16in32();
                    x.lsb = in.i16in32();
                    return true;
                  }) &&
      readSection(r, maps.channels, false,
                  [](Reader& in, std::int16_t, ChannelSettings& c) {
                    for (std::int32_t* v :
                         {&c.action, &c.style, &c.mode, &c.bufLen, &c.pen, &c.window, &c.viewport})
                      *v = in.i16in32();
                    c.offsetX = in.f32();
                    c.offsetY = in.f32();
                    c.userData = in.i32();
                    return true;
                  }) &&
      readSection(
          r, maps.horzData, false,
          [](Reader& in, std::int16_t, ChnDataSettings& d) {
            for (std::int32_t* v : {&d.dimension, &d.shape, &d.type, &d.incr, &d.offset, &d.xform})
              *v = in.i16in32();
            d.dimension = 0;
            return true;
          }) &&
      readSection(r, maps.vertData, false, [](Reader& in, std::int16_t, ChnDataSettings& d) {
        for (std::int32_t* v : {&d.dimension, &d.shape, &d.type, &d.incr, &d.offset, &d.xform})
          *v = in.i16in32();
        d.dimension = 1;
        return true;
      });
  if (!more) return true;
  const std::uint32_t count = r.u32();
  r.u32();  // section version, not tested
  for (std::uint32_t i = 0; i < count && r.ok(); ++i) {
    const std::int16_t key = static_cast<std::int16_t>(r.u32() & 0xFFFF);
    scale::ScaleInfo info;
    const std::size_t used = scale::readScaleInfo(r.rest(), info);
    if (used == 0) return true;
    r.skip(used);
    if (key <= 0) continue;
    auto s = std::make_unique<ScaleObject>(key);
    s->action = info.action;
    s->window = info.window;
    s->viewport = info.viewport;
    for (int d : {0, 1}) acceptAxis(s->axis(d), info.axes[static_cast<std::size_t>(d)]);
    const std::int32_t label[5] = {info.labelPen, info.labelPosition, info.labelOrientation,
                                   info.labelLocation, info.labelPath};
    for (int d : {0, 1}) acceptLabels(s->axis(d), info.factor, info.caption, label);
    s->setDimension(info.dimension);
    maps.scales.insert_or_assign(key, std::move(s));
  }
  return true;
}

}  // namespace kvplotax
