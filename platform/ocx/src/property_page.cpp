#include "ocx/property_page.h"

#include <algorithm>

#include "ocx/page_support.h"

namespace ocx {

using automation::AutomationError;
using automation::Variant;

PropertyPage::PropertyPage(const PageLayout& layout)
    : layout_(layout), fields_(layout.fields.size()), errorField_(layout.fields.size()) {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    for (std::string_view item : layout_.fields[i].items) fields_[i].entries.emplace_back(item);
  }
}

void PropertyPage::setObject(std::shared_ptr<automation::Dispatch> object) {
  object_ = std::move(object);
  load();
}

void PropertyPage::refillSelectors() {
  PageSupport* support = pageSupportOf(object_.get());
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const FieldBinding& layout = field(i);
    if (layout.kind != FieldKind::Selector) continue;
    std::vector<std::string>& entries = fields_[i].entries;
    entries.clear();
    std::int32_t count = 0;
    if (support == nullptr || support->List(layout.lists, nullptr, &count) != 0 || count <= 0) {
      continue;
    }
    std::vector<std::int32_t> numbers(static_cast<std::size_t>(count));
    if (support->List(layout.lists, numbers.data(), &count) != 0) continue;
    numbers.resize(std::min(numbers.size(), static_cast<std::size_t>(count)));
    for (std::int32_t n : numbers) entries.push_back(std::to_string(n));
  }
}

void PropertyPage::load() {
  error_.clear();
  errorField_ = fields_.size();
  refillSelectors();
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    FieldState& state = fields_[i];
    state.dirty = false;
    state.text.clear();
    if (!object_) continue;
    // A property the control will not read now (run-time only, say) shows an empty field.
    try {
      state.text = fieldText(field(i), object_->get(field(i).property));
    } catch (const AutomationError&) {
    }
    state.loaded = state.text;
  }
}

std::size_t PropertyPage::fieldOf(std::string_view property) const {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (field(i).property == property) return i;
  }
  return fields_.size();
}

std::span<const std::string> PropertyPage::entries(std::size_t i) const {
  return fields_[i].entries;
}

int PropertyPage::index(std::size_t i) const {
  const auto& entries = fields_[i].entries;
  const auto it = std::find(entries.begin(), entries.end(), fields_[i].text);
  return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

bool PropertyPage::isDirty() const {
  return std::any_of(fields_.begin(), fields_.end(), [](const FieldState& f) { return f.dirty; });
}

bool PropertyPage::fail(std::size_t i, std::string message) {
  error_ = std::move(message);
  errorField_ = i;
  return false;
}

bool PropertyPage::write(std::size_t i, const Variant& value) {
  try {
    object_->put(field(i).property, value);
  } catch (const AutomationError& e) {
    return fail(i, e.what());
  }
  return true;
}

// Every changed field is checked before the first is written, so a mistyped number does not leave
// half of the page applied. Selecting fields are not written here: they change only through the
// selector sequence, which writes the other fields first.
bool PropertyPage::writeChanged(std::size_t except) {
  if (!object_) return fail(fields_.size(), "The page has no object.");
  std::vector<std::pair<std::size_t, Variant>> writes;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (i == except || !fields_[i].dirty || field(i).selects) continue;
    FieldValue checked = fieldValue(field(i), fields_[i].text);
    if (!checked.value) return fail(i, checked.message);
    writes.emplace_back(i, std::move(*checked.value));
  }
  for (const auto& [i, value] : writes) {
    if (!write(i, value)) return false;
    fields_[i].dirty = false;
  }
  return true;
}

bool PropertyPage::apply() {
  error_.clear();
  errorField_ = fields_.size();
  if (!writeChanged(fields_.size())) return false;
  load();
  return true;
}

// The staged values belong to the object selected now, so the page's changes are written before
// the selector moves; then the page shows the newly selected object.
bool PropertyPage::runSelectorChange(std::size_t i) {
  const FieldValue checked = fieldValue(field(i), fields_[i].text);
  if (!checked.value) return fail(i, checked.message);
  if (!writeChanged(i)) {
    fields_[i].text = fields_[i].loaded;  // still the object selected before
    fields_[i].dirty = false;
    return false;
  }
  const std::int32_t value = checked.value->toI4();
  bool ok = true;
  try {
    PageSupport* support = pageSupportOf(object_.get());
    const automation::DispId id = object_->idOfName(field(i).property);
    if (support == nullptr || support->Set(id, value) != 0) object_->put(id, *checked.value);
  } catch (const AutomationError& e) {
    ok = fail(i, e.what());
  }
  const std::string message = error_;
  load();
  if (!ok) fail(i, message);
  return ok;
}

bool PropertyPage::edit(std::size_t i, std::string text) {
  error_.clear();
  errorField_ = fields_.size();
  if (i >= fields_.size()) return false;
  fields_[i].text = std::move(text);
  fields_[i].dirty = true;
  if (!object_) return true;
  if (field(i).selects) return runSelectorChange(i);
  if (field(i).command) {
    const FieldValue checked = fieldValue(field(i), fields_[i].text);
    if (!checked.value) return fail(i, checked.message);
    if (!write(i, *checked.value)) return false;
    fields_[i].dirty = false;
  }
  return true;
}

bool PropertyPage::choose(std::size_t i, int entry) {
  if (i >= fields_.size() || entry < 0 ||
      static_cast<std::size_t>(entry) >= fields_[i].entries.size()) {
    return fail(i, "Select an entry from the list.");
  }
  return edit(i, fields_[i].entries[static_cast<std::size_t>(entry)]);
}

}  // namespace ocx
