#include "page_layouts.h"

#include "dispids.h"
#include "enum_texts.h"

namespace kvplotax::pages {
namespace {

using ocx::FieldBinding;
using ocx::FieldKind;
using ocx::PageLayout;
namespace t = texts;

constexpr std::string_view kHelpFile = "kvplotax.hlp";

constexpr FieldBinding check(std::string_view property) { return {property, FieldKind::Check}; }
constexpr FieldBinding list(std::string_view property, std::span<const std::string_view> items) {
  return {property, FieldKind::DropList, items};
}
// A drop list that moves the page to another record of the selected object.
constexpr FieldBinding selectingList(std::string_view property,
                                     std::span<const std::string_view> items) {
  return {property, FieldKind::DropList, items, 0, true};
}
// The page's own selector combo: choosing a number shows that object.
constexpr FieldBinding ownSelector(std::string_view property, automation::DispId kind) {
  return {property, FieldKind::Selector, {}, kind, true};
}
// A property that names another object: the combo lists the objects of that kind.
constexpr FieldBinding objectOf(std::string_view property, automation::DispId kind) {
  return {property, FieldKind::Selector, {}, kind};
}
constexpr FieldBinding whole(std::string_view property) { return {property, FieldKind::Integer}; }
constexpr FieldBinding spun(std::string_view property, double low = 0, double high = 32767) {
  return {property, FieldKind::Integer, {}, 0, false, false, false, true, low, high};
}
constexpr FieldBinding real(std::string_view property) { return {property, FieldKind::Real}; }
constexpr FieldBinding realIn(std::string_view property, double low, double high, bool spin) {
  return {property, FieldKind::Real, {}, 0, false, false, true, spin, low, high};
}
constexpr FieldBinding text(std::string_view property) { return {property, FieldKind::Text}; }
constexpr FieldBinding color(std::string_view property) { return {property, FieldKind::Color}; }

constexpr FieldBinding kGeneral[] = {
    check("HitTest"),
    {"Action", FieldKind::DropList, t::kChartActions, 0, false, true},
    list("ColorDepth", t::kColorDepths),
    spun("FramesPerSec", -1),
    text("ImageFile"),
};

constexpr FieldBinding kBezel[] = {
    check("Outline"),
    check("RoundedCorners"),
    list("BevelInner", t::kBevelStyles),
    list("BevelOuter", t::kBevelStyles),
    spun("BevelWidth_Inner"),
    spun("BevelWidth_Outer"),
    spun("BorderWidth"),
    spun("MarginBottom"),
    spun("MarginLeft"),
    spun("MarginRight"),
    spun("MarginTop"),
    color("OutlineColor"),
    color("ShadowColor"),
    color("BorderColor"),
    color("LightColor"),
};

constexpr FieldBinding kChannelData[] = {
    ownSelector("Chn_Select", dispid::Chn_Select),
    selectingList("ChnData_Dimension", t::kDims),
    list("ChnDataType", t::kDataTypes),
    list("ChnDataShape", t::kDataShapes),
    spun("ChnDataIncr", 1),
    whole("ChnDataOffset"),
    spun("ChnDataXform"),
};

constexpr FieldBinding kChannelDisplay[] = {
    ownSelector("Chn_Select", dispid::Chn_Select),
    objectOf("ChnDspPen", dispid::Pen_Select),
    objectOf("ChnDspWindow", dispid::Wnd_Select),
    objectOf("ChnDspViewport", dispid::Viewport_Select),
    list("ChnDspAction", t::kChannelActions),
    list("ChnDspMode", t::kDisplayModes),
    list("ChnDspStyle", t::kDisplayStyles),
    spun("ChnDspBufLen"),
    spun("ChnDspOffsetX"),
    spun("ChnDspOffsetY"),
    whole("ChnDspUserData"),
};

constexpr FieldBinding kChannelTransform[] = {
    ownSelector("ChnXform_Select", dispid::ChnXform_Select),
    real("ChnXformGain"),
    real("ChnXformOffset"),
    whole("ChnXformMSB"),
    whole("ChnXformLSB"),
};

constexpr FieldBinding kGraticule[] = {
    check("FrameOn"),
    check("GridOn"),
    list("AxesTics", t::kTics),
    list("AxesType", t::kAxesTypes),
    list("FrameTics", t::kTics),
    list("GridSymmetry", t::kGridSymmetries),
    list("GridType", t::kGridTypes),
    color("FrameColor"),
    color("AxesColor"),
    color("GridColor"),
    spun("MajorDivHorz"),
    spun("MajorDivVert"),
    spun("MinorDiv"),
};

constexpr FieldBinding kLabel[] = {
    ownSelector("Scale_Select", dispid::Scale_Select),
    selectingList("ScaleDimension", t::kDims),
    list("LabelLocation", t::kLabelLocations),
    list("LabelPosition", t::kPositions),
    list("LabelPath", t::kPaths),
    list("LabelOrientation", t::kOrientations),
    text("LabelCaption"),
    objectOf("LabelPen", dispid::Pen_Select),
};

constexpr FieldBinding kPen[] = {
    ownSelector("Pen_Select", dispid::Pen_Select),
    list("PenStyle", t::kPenStyles),
    spun("PenWidth"),
    color("PenColor"),
    color("PenIntenseColor"),
};

constexpr FieldBinding kScale[] = {
    ownSelector("Scale_Select", dispid::Scale_Select),
    objectOf("ScaleWindow", dispid::Wnd_Select),
    objectOf("ScaleViewport", dispid::Viewport_Select),
    objectOf("ScalePen", dispid::Pen_Select),
    list("ScaleAction", t::kScaleActions),
    selectingList("ScaleDimension", t::kDims),
    list("ScaleLocation", t::kScaleLocations),
    list("ScaleOrientation", t::kOrientations),
    list("ScalePath", t::kPaths),
    list("ScalePosition", t::kPositions),
    list("ScaleVisibility", t::kScaleVisibilities),
    spun("ScaleGap"),
    spun("ScalePlaces"),
    realIn("ScaleFactor", 0, 65535, false),
};

constexpr FieldBinding kViewport[] = {
    ownSelector("Viewport_Select", dispid::Viewport_Select),
    spun("Viewports", 1),
    check("ViewportStorageOn"),
    color("ViewportStorageColor"),
};

constexpr FieldBinding kWindow[] = {
    ownSelector("Wnd_Select", dispid::Wnd_Select), realIn("WndXmin", -32768, 32767, true),
    realIn("WndYmin", -32768, 32767, true),        realIn("WndWidth", 0, 32767, true),
    realIn("WndHeight", 0, 32767, true),
};

constexpr PageLayout kPages[] = {
    {"KvplotaxPropPage", "Vextrin.Plotrex.KvplotaxPropPage.1",
     "{F9285164-7EB9-11D0-AADB-0000C05F07C7}", "General", 101, kHelpFile, 2001, kGeneral},
    {"CPpgBezel", "Vextrin.Plotrex.CPpgBezel", "{257711F5-89C3-11D0-AAEB-0000C05F07C7}", "Bezel",
     110, kHelpFile, 2002, kBezel},
    {"CPpgChnData", "Vextrin.Plotrex.CPpgChnData", "{257711E6-89C3-11D0-AAEB-0000C05F07C7}",
     "Channel Data", 102, kHelpFile, 2003, kChannelData},
    {"CPpgChnDsp", "Vextrin.Plotrex.CPpgChnDsp", "{257711E4-89C3-11D0-AAEB-0000C05F07C7}",
     "Channel Display", 103, kHelpFile, 2004, kChannelDisplay},
    {"CPpgChnXForm", "Vextrin.Plotrex.CPpgChnXForm", "{257711F7-89C3-11D0-AAEB-0000C05F07C7}",
     "Channel Transform", 111, kHelpFile, 2005, kChannelTransform},
    {"CPpgGraticule", "Vextrin.Plotrex.CPpgGraticule", "{257711F3-89C3-11D0-AAEB-0000C05F07C7}",
     "Graticule", 109, kHelpFile, 2006, kGraticule},
    {"CPpgLabel", "Vextrin.Plotrex.CPpgLabel", "{257711F1-89C3-11D0-AAEB-0000C05F07C7}", "Label",
     108, kHelpFile, 2007, kLabel},
    {"CPpgPen", "Vextrin.Plotrex.CPpgPen", "{257711E8-89C3-11D0-AAEB-0000C05F07C7}", "Pen", 104,
     kHelpFile, 2008, kPen},
    {"CPpgScale", "Vextrin.Plotrex.CPpgScale", "{257711EF-89C3-11D0-AAEB-0000C05F07C7}", "Scale",
     107, kHelpFile, 2009, kScale},
    {"CPpgViewport", "Vextrin.Plotrex.CPpgViewport", "{257711EC-89C3-11D0-AAEB-0000C05F07C7}",
     "Viewport", 106, kHelpFile, 2010, kViewport},
    {"CPpgWindow", "Vextrin.Plotrex.CPpgWindow", "{257711EA-89C3-11D0-AAEB-0000C05F07C7}", "Window",
     105, kHelpFile, 2011, kWindow},
};

}  // namespace

std::span<const PageLayout> pageLayouts() { return kPages; }

const PageLayout* findPageLayout(const automation::Guid& clsid) {
  for (const PageLayout& page : kPages) {
    if (automation::Guid::parse(page.clsid) == clsid) return &page;
  }
  return nullptr;
}

}  // namespace kvplotax::pages
