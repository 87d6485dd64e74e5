// A user's own look for a form's chart: a settings file of the same name in the user's forms
// folder ($XDG_CONFIG_HOME/zelk/forms, else ~/.config/zelk/forms), written by the designer. Its
// appearance (the properties listed below) is laid over what the form's own set-up writes; the
// settings the form's logic depends on (channels, windows, viewports, scale ranges, sizes,
// margins, divisions tied to the form's time and scale read-outs) stay the form's.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "apps/designed_chart.h"
#include "automation/automation.h"

namespace apps {

// Which of the chart's numbered objects a property belongs to.
enum class StyleObject { Chart, Pen, Scale };

struct StyleProperty {
  std::string_view name;
  StyleObject object;
  // Whether the settings file's line holds the value as the property reads it.
  bool savedAsRead = true;
};

// Pens 1 to kStyledPens and both dimensions of scale 1 carry the user's style.
inline constexpr std::int16_t kStyledPens = 9;

inline constexpr std::array<StyleProperty, 37> kStyleProperties = {{
    {"BackColor", StyleObject::Chart},
    {"ForeColor", StyleObject::Chart},
    {"BorderColor", StyleObject::Chart},
    {"LightColor", StyleObject::Chart},
    {"ShadowColor", StyleObject::Chart},
    {"BevelInner", StyleObject::Chart},
    {"BevelOuter", StyleObject::Chart},
    {"BevelWidth_Inner", StyleObject::Chart},
    {"BevelWidth_Outer", StyleObject::Chart},
    {"BorderWidth", StyleObject::Chart},
    {"Outline", StyleObject::Chart},
    {"OutlineColor", StyleObject::Chart},
    {"RoundedCorners", StyleObject::Chart},
    {"FrameOn", StyleObject::Chart},
    {"FrameTics", StyleObject::Chart},
    {"FrameColor", StyleObject::Chart},
    {"AxesType", StyleObject::Chart},
    {"AxesTics", StyleObject::Chart},
    {"AxesColor", StyleObject::Chart},
    {"GridOn", StyleObject::Chart},
    {"GridType", StyleObject::Chart},
    {"GridColor", StyleObject::Chart},
    // Saved as whether the grid is isotropic, read as the opposite.
    {"GridSymmetry", StyleObject::Chart, false},
    {"MinorDiv", StyleObject::Chart},
    {"ViewportStorageColor", StyleObject::Chart},
    // The font of the scales' numbers and captions.
    {"FontName", StyleObject::Chart},
    {"FontSize", StyleObject::Chart},
    {"FontBold", StyleObject::Chart},
    {"FontItalic", StyleObject::Chart},
    {"FontUnderline", StyleObject::Chart},
    {"FontStrikethru", StyleObject::Chart},
    {"PenColor", StyleObject::Pen},
    {"PenIntenseColor", StyleObject::Pen},
    {"PenWidth", StyleObject::Pen},
    {"PenStyle", StyleObject::Pen},
    // Written where the form sets its scale up, so that the scale's own start takes it.
    {"ScalePlaces", StyleObject::Scale},
}};

// The user's file for the form's settings file of that name; empty when the user has no home.
std::filesystem::path userChartStyleFile(const std::string& settingsName);

// The form's chart as the form's code sees it: every write passes to the chart, except that a
// styled property is written with the user's value instead, whenever the form writes it (so a
// set-up run again later keeps the style). Without a user file, or with one that is not used,
// nothing is changed.
class StyledChart : public automation::Dispatch {
 public:
  // Reads the user's file beside the form's designed one, keeping only what the user changed.
  StyledChart(automation::Dispatch& chart, const std::string& settingsName,
              const automation::Guid& clsid = chartClass());

  // Writes the style over the form's set-up just run (properties the form does not write take
  // it here). Returns one line for the user when the file was not used ("" otherwise); the
  // chart is then left as the form's own set-up made it.
  std::string applyOverSetUp();

  bool styled() const { return !style_.empty(); }

  automation::DispId idOfName(std::string_view name) const override;
  automation::Variant get(automation::DispId id) override;
  void put(automation::DispId id, const automation::Variant& value) override;
  automation::Variant call(automation::DispId id, std::span<automation::Variant> args) override;
  using automation::Dispatch::call;
  using automation::Dispatch::get;
  using automation::Dispatch::put;

  struct Setting {
    automation::DispId id;
    StyleObject object;
    std::int16_t number;     // the pen or scale
    std::int16_t dimension;  // the scale's dimension
    automation::Variant value;
  };

 private:
  const Setting* styledWrite(automation::DispId id) const;
  void track(automation::DispId id);
  void giveUp(const std::string& why);

  automation::Dispatch& chart_;
  std::filesystem::path file_;
  std::vector<Setting> style_;
  std::string problem_;
  automation::DispId penSelect_ = automation::kDispIdUnknown;
  automation::DispId scaleSelect_ = automation::kDispIdUnknown;
  automation::DispId scaleDimension_ = automation::kDispIdUnknown;
  std::int16_t pen_ = 0;
  std::int16_t scale_ = 0;
  std::int16_t dimension_ = 0;
};

// What the user's text says of the chart's own (unnumbered) styled properties, against what the
// chart made of it: the first "Name = value" line whose value the chart did not take as written,
// or "" when all were taken. Exposed for the loader's checks.
std::string refusedStyleLine(std::string_view userText, automation::Dispatch& loaded);

}  // namespace apps
