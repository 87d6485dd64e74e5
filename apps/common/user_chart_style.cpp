#include "apps/user_chart_style.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <system_error>

#include "automation/profile.h"
#include "host/headless.h"

namespace apps {

namespace {

using automation::DispId;
using automation::Variant;

bool sameValue(const Variant& a, const Variant& b) {
  if (a.type() != b.type()) return false;
  switch (a.type()) {
    case automation::VT_BSTR:
      return a.toString() == b.toString();
    case automation::VT_BOOL:
      return a.toBool() == b.toBool();
    case automation::VT_R4:
    case automation::VT_R8:
      return a.toR8() == b.toR8();
    case automation::VT_EMPTY:
      return true;
    default:
      return a.toI4() == b.toI4();
  }
}

// The numbered object each setting belongs to, selected on a chart before reading or writing it.
struct Place {
  StyleObject object;
  std::int16_t number;
  std::int16_t dimension;
};

void select(automation::Dispatch& chart, const Place& place) {
  if (place.object == StyleObject::Pen) chart.put("Pen_Select", Variant(place.number));
  if (place.object == StyleObject::Scale) {
    chart.put("Scale_Select", Variant(place.number));
    chart.put("ScaleDimension", Variant(place.dimension));
  }
}

std::vector<Place> placesOf(StyleObject object) {
  switch (object) {
    case StyleObject::Pen: {
      std::vector<Place> pens;
      for (std::int16_t pen = 1; pen <= kStyledPens; ++pen) pens.push_back({object, pen, 0});
      return pens;
    }
    case StyleObject::Scale:
      return {{object, 1, 0}, {object, 1, 1}};
    case StyleObject::Chart:
      break;
  }
  return {{object, 0, 0}};
}

// What the user changed against the form's designed chart: a setting the user left as designed
// stays the form's to write.
std::vector<StyledChart::Setting> differences(automation::Dispatch& chart,
                                              automation::Dispatch& designed,
                                              automation::Dispatch& user) {
  std::vector<StyledChart::Setting> style;
  for (const StyleProperty& property : kStyleProperties) {
    const DispId id = chart.idOfName(property.name);
    if (id == automation::kDispIdUnknown) continue;
    for (const Place& place : placesOf(property.object)) {
      select(designed, place);
      select(user, place);
      Variant mine = user.get(property.name);
      if (sameValue(designed.get(property.name), mine)) continue;
      style.push_back({id, place.object, place.number, place.dimension, std::move(mine)});
    }
  }
  return style;
}

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Whether the chart holds the value as the text writes it (a colour in &H form, True or False, a
// quoted text or a number).
bool holdsAsWritten(const std::string& text, const Variant& held) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    return held.toString() == text.substr(1, text.size() - 2);
  if (equalsIgnoringCase(text, "True")) return held.toBool();
  if (equalsIgnoringCase(text, "False")) return !held.toBool();
  char* end = nullptr;
  if (text.size() > 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
    const unsigned long long value = std::strtoull(text.c_str() + 2, &end, 16);
    return *end == '\0' && value <= 0xFFFFFFFFull &&
           static_cast<std::uint32_t>(held.toI4()) == static_cast<std::uint32_t>(value);
  }
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(value)) return false;
  const double have = held.toR8();
  return std::fabs(have - value) <= 1e-6 * std::max(1.0, std::fabs(value));
}

}  // namespace

std::filesystem::path userChartStyleFile(const std::string& settingsName) {
  const std::filesystem::path folder = automation::profilePath("forms");
  if (folder.is_relative()) return {};
  return folder / settingsName;
}

std::string refusedStyleLine(std::string_view userText, automation::Dispatch& loaded) {
  std::size_t start = 0;
  while (start < userText.size()) {
    std::size_t end = userText.find('\n', start);
    if (end == std::string_view::npos) end = userText.size();
    const std::string_view line = userText.substr(start, end - start);
    start = end + 1;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string name = trimmed(line.substr(0, equals));
    const auto property =
        std::find_if(kStyleProperties.begin(), kStyleProperties.end(),
                     [&name](const StyleProperty& p) { return equalsIgnoringCase(p.name, name); });
    if (property == kStyleProperties.end() || property->object != StyleObject::Chart ||
        !property->savedAsRead)
      continue;
    const std::string value = trimmed(line.substr(equals + 1));
    bool taken = false;
    try {
      taken = holdsAsWritten(value, loaded.get(property->name));
    } catch (const automation::AutomationError&) {
    }
    if (!taken) return name + " = " + value;
  }
  return {};
}

StyledChart::StyledChart(automation::Dispatch& chart, const std::string& settingsName,
                         const automation::Guid& clsid)
    : chart_(chart), file_(userChartStyleFile(settingsName)) {
  std::error_code error;
  if (file_.empty() || !std::filesystem::exists(file_, error)) return;
  try {
    const std::string text = readSettingsFile(file_);
    // The designed chart and the user's, side by side, to see what the user changed.
    host::HeadlessContainer designedBox(0, 0);
    host::HeadlessContainer userBox(0, 0);
    automation::Dispatch& designed = createDesignedChart(designedBox, settingsName, clsid);
    automation::Dispatch& user = userBox.loadBag(clsid, text);
    const std::string refused = refusedStyleLine(text, user);
    if (!refused.empty()) {
      giveUp("the chart style " + file_.string() + " holds a value the chart refuses (" + refused +
             ")");
      return;
    }
    style_ = differences(chart_, designed, user);
    penSelect_ = chart_.idOfName("Pen_Select");
    scaleSelect_ = chart_.idOfName("Scale_Select");
    scaleDimension_ = chart_.idOfName("ScaleDimension");
    for (const DispId id : {penSelect_, scaleSelect_, scaleDimension_}) track(id);
  } catch (const std::exception& e) {
    giveUp(std::string(e.what()));
  }
}

void StyledChart::giveUp(const std::string& why) {
  style_.clear();
  if (problem_.empty()) problem_ = why + "; the form's own chart style is used";
}

void StyledChart::track(DispId id) {
  std::int16_t* current = id == penSelect_        ? &pen_
                          : id == scaleSelect_    ? &scale_
                          : id == scaleDimension_ ? &dimension_
                                                  : nullptr;
  if (current == nullptr || id == automation::kDispIdUnknown) return;
  try {
    *current = chart_.get(id).toI2();
  } catch (const automation::AutomationError&) {
    *current = 0;
  }
}

const StyledChart::Setting* StyledChart::styledWrite(DispId id) const {
  for (const Setting& s : style_) {
    if (s.id != id) continue;
    if (s.object == StyleObject::Chart) return &s;
    if (s.object == StyleObject::Pen && s.number == pen_) return &s;
    if (s.object == StyleObject::Scale && s.number == scale_ && s.dimension == dimension_)
      return &s;
  }
  return nullptr;
}

DispId StyledChart::idOfName(std::string_view name) const { return chart_.idOfName(name); }

Variant StyledChart::get(DispId id) { return chart_.get(id); }

Variant StyledChart::call(DispId id, std::span<Variant> args) { return chart_.call(id, args); }

void StyledChart::put(DispId id, const Variant& value) {
  if (style_.empty()) return chart_.put(id, value);
  if (const Setting* setting = styledWrite(id)) {
    try {
      chart_.put(id, setting->value);
      return;
    } catch (const automation::AutomationError& e) {
      giveUp("the chart style " + file_.string() + " was refused: " + e.what());
    }
  }
  chart_.put(id, value);
  track(id);
}

std::string StyledChart::applyOverSetUp() {
  if (style_.empty()) return problem_;
  // The form's own values, put back if the chart refuses any of the user's.
  std::vector<std::pair<const Setting*, Variant>> before;
  const Variant formPen = chart_.get(penSelect_);
  try {
    for (const Setting& s : style_) {
      if (s.object == StyleObject::Scale) continue;
      select(chart_, {s.object, s.number, s.dimension});
      before.emplace_back(&s, chart_.get(s.id));
      chart_.put(s.id, s.value);
    }
  } catch (const automation::AutomationError& e) {
    for (auto it = before.rbegin(); it != before.rend(); ++it) {
      try {
        select(chart_, {it->first->object, it->first->number, it->first->dimension});
        chart_.put(it->first->id, it->second);
      } catch (const automation::AutomationError&) {
      }
    }
    giveUp("the chart style " + file_.string() + " was refused: " + e.what());
  }
  chart_.put(penSelect_, formPen);
  track(penSelect_);
  return problem_;
}

}  // namespace apps
