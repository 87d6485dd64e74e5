// A property page without a toolkit: its fields bound by property name to a control, the selector
// lists, loading, saving and the selector change sequence. Widgets show what it holds and hand
// the user's changes to it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/automation.h"
#include "ocx/page_field.h"

namespace ocx {

struct PageLayout {
  std::string_view className;
  std::string_view progId;
  std::string_view clsid;
  std::string_view title;
  std::int32_t dialogId;
  std::string_view helpFile;
  std::uint32_t helpContext;
  std::span<const FieldBinding> fields;
};

class PropertyPage {
 public:
  explicit PropertyPage(const PageLayout& layout);

  const PageLayout& layout() const { return layout_; }

  // The control the page edits; its values are loaded at once. Null detaches the page.
  void setObject(std::shared_ptr<automation::Dispatch> object);
  const std::shared_ptr<automation::Dispatch>& object() const { return object_; }

  // Refills every selector list, then reads every field from its property. Unsaved changes are
  // dropped.
  void load();

  std::size_t fieldCount() const { return fields_.size(); }
  const FieldBinding& field(std::size_t i) const { return layout_.fields[i]; }
  // The field of a property, or fieldCount() when the page has none.
  std::size_t fieldOf(std::string_view property) const;
  const std::string& text(std::size_t i) const { return fields_[i].text; }
  // A drop list's entries, or a selector's object numbers as decimal text.
  std::span<const std::string> entries(std::size_t i) const;
  // The position of the text among the entries, -1 when it is not one of them.
  int index(std::size_t i) const;
  bool isDirty() const;

  // The user's changes. A selecting field runs the selector change sequence and a command field
  // performs its command at once; other fields wait for apply(). False when the control or the
  // page refused; error() then says why, and the page stays as it is.
  bool edit(std::size_t i, std::string text);
  bool choose(std::size_t i, int entry);

  // Writes every changed field by name, in the page's order, after checking them all; stops at the
  // first write the control refuses.
  bool apply();

  const std::string& error() const { return error_; }
  // The field the last error came from, fieldCount() when none.
  std::size_t errorField() const { return errorField_; }

 private:
  struct FieldState {
    std::string text;
    std::string loaded;  // as the control last gave it
    std::vector<std::string> entries;
    bool dirty = false;
  };

  bool fail(std::size_t i, std::string message);
  bool writeChanged(std::size_t except);
  bool runSelectorChange(std::size_t i);
  bool write(std::size_t i, const automation::Variant& value);
  void refillSelectors();

  const PageLayout& layout_;
  std::vector<FieldState> fields_;
  std::shared_ptr<automation::Dispatch> object_;
  std::string error_;
  std::size_t errorField_;
};

}  // namespace ocx
