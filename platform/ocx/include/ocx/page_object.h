// A property page as an automation object, so that a container creates it by class identifier
// and drives it late-bound like any other: it names its fields, shows their texts and entries,
// takes the user's changes and applies them to the control put into Object.
#pragma once

#include <memory>

#include "automation/automation.h"
#include "ocx/property_page.h"

namespace ocx {

namespace page_dispid {
constexpr automation::DispId Title = 1;
constexpr automation::DispId HelpFile = 2;
constexpr automation::DispId HelpContext = 3;
constexpr automation::DispId DialogId = 4;
constexpr automation::DispId ProgId = 5;
constexpr automation::DispId Object = 6;  // put: attach the control and load; get: the control
constexpr automation::DispId FieldCount = 7;
constexpr automation::DispId Dirty = 8;
constexpr automation::DispId Error = 9;        // the last refusal's text, empty when none
constexpr automation::DispId ErrorField = 10;  // its field, -1 when none
// Methods taking a field index from 0.
constexpr automation::DispId FieldName = 20;
constexpr automation::DispId FieldKind = 21;  // an ocx::FieldKind
constexpr automation::DispId FieldText = 22;
constexpr automation::DispId FieldIndex = 23;  // the text's position among the entries, or -1
constexpr automation::DispId FieldEntryCount = 24;
constexpr automation::DispId FieldEntry = 25;  // (field, entry)
constexpr automation::DispId FieldSpin = 26;   // True when a spin steps through Low to High
constexpr automation::DispId FieldLow = 27;
constexpr automation::DispId FieldHigh = 28;
constexpr automation::DispId Edit = 30;    // (field, text) -> True when accepted
constexpr automation::DispId Choose = 31;  // (field, entry) -> True when accepted
constexpr automation::DispId Apply = 32;   // () -> True when every change was written
constexpr automation::DispId Load = 33;    // () reads the control again
}  // namespace page_dispid

class PropertyPageObject : public automation::Dispatch {
 public:
  explicit PropertyPageObject(const PageLayout& layout) : page_(layout) {}

  PropertyPage& page() { return page_; }

  automation::DispId idOfName(std::string_view name) const override;
  automation::Variant get(automation::DispId id) override;
  void put(automation::DispId id, const automation::Variant& value) override;
  automation::Variant call(automation::DispId id, std::span<automation::Variant> args) override;
  using automation::Dispatch::call;
  using automation::Dispatch::get;
  using automation::Dispatch::put;

 private:
  PropertyPage page_;
};

}  // namespace ocx
