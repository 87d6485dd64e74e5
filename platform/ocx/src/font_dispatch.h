// The stock Font property's object: a late-bound view of a control's font.
#pragma once

#include <functional>

#include "automation/automation.h"
#include "ocx/font.h"

namespace ocx {

class FontDispatch : public automation::Dispatch {
 public:
  // read gives the current font; write stores a changed one.
  FontDispatch(std::function<Font()> read, std::function<void(const Font&)> write);

  automation::DispId idOfName(std::string_view name) const override;
  automation::Variant get(automation::DispId id) override;
  void put(automation::DispId id, const automation::Variant& value) override;
  automation::Variant call(automation::DispId id, std::span<automation::Variant> args) override;

  // Reads the attributes of any font object (a FontDispatch or a client's) into a value.
  static Font fromDispatch(automation::Dispatch& font);

 private:
  std::function<Font()> read_;
  std::function<void(const Font&)> write_;
};

}  // namespace ocx
