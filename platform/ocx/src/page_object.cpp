#include "ocx/page_object.h"

#include <strings.h>

#include <algorithm>
#include <iterator>

namespace ocx {
namespace {

using automation::AutomationError;
using automation::DispId;
using automation::Variant;
namespace d = page_dispid;

struct Member {
  std::string_view name;
  DispId id;
};

constexpr Member kMembers[] = {
    {"Title", d::Title},
    {"HelpFile", d::HelpFile},
    {"HelpContext", d::HelpContext},
    {"DialogId", d::DialogId},
    {"ProgId", d::ProgId},
    {"Object", d::Object},
    {"FieldCount", d::FieldCount},
    {"Dirty", d::Dirty},
    {"Error", d::Error},
    {"ErrorField", d::ErrorField},
    {"FieldName", d::FieldName},
    {"FieldKind", d::FieldKind},
    {"FieldText", d::FieldText},
    {"FieldIndex", d::FieldIndex},
    {"FieldEntryCount", d::FieldEntryCount},
    {"FieldEntry", d::FieldEntry},
    {"FieldSpin", d::FieldSpin},
    {"FieldLow", d::FieldLow},
    {"FieldHigh", d::FieldHigh},
    {"Edit", d::Edit},
    {"Choose", d::Choose},
    {"Apply", d::Apply},
    {"Load", d::Load},
};

[[noreturn]] void invalidArgument() {
  throw AutomationError::standard(automation::kErrInvalidPropertyValue);
}

std::size_t argIndex(std::span<Variant> args, std::size_t position, std::size_t limit) {
  if (args.size() <= position) invalidArgument();
  const std::int32_t i = args[position].toI4();
  if (i < 0 || static_cast<std::size_t>(i) >= limit) invalidArgument();
  return static_cast<std::size_t>(i);
}

Variant text(std::string_view s) { return Variant(std::string(s)); }
Variant count(std::size_t n) { return Variant(static_cast<std::int32_t>(n)); }

}  // namespace

DispId PropertyPageObject::idOfName(std::string_view name) const {
  for (const Member& m : kMembers) {
    if (m.name.size() == name.size() && strncasecmp(m.name.data(), name.data(), name.size()) == 0) {
      return m.id;
    }
  }
  return automation::kDispIdUnknown;
}

Variant PropertyPageObject::get(DispId id) {
  const PageLayout& layout = page_.layout();
  switch (id) {
    case d::Title:
      return text(layout.title);
    case d::HelpFile:
      return text(layout.helpFile);
    case d::HelpContext:
      return Variant(static_cast<std::int32_t>(layout.helpContext));
    case d::DialogId:
      return Variant(layout.dialogId);
    case d::ProgId:
      return text(layout.progId);
    case d::Object:
      return Variant(page_.object());
    case d::FieldCount:
      return count(page_.fieldCount());
    case d::Dirty:
      return Variant(page_.isDirty());
    case d::Error:
      return text(page_.error());
    case d::ErrorField:
      return Variant(page_.errorField() < page_.fieldCount()
                         ? static_cast<std::int32_t>(page_.errorField())
                         : std::int32_t{-1});
    default:
      break;
  }
  throw AutomationError::standard(automation::kErrNotSupported);
}

void PropertyPageObject::put(DispId id, const Variant& value) {
  if (id == d::Object) {
    if (value.type() != automation::VT_DISPATCH && value.type() != automation::VT_EMPTY) {
      throw AutomationError::standard(automation::kErrTypeMismatch);
    }
    page_.setObject(value.type() == automation::VT_DISPATCH ? value.toDispatch() : nullptr);
    return;
  }
  const bool known = std::any_of(std::begin(kMembers), std::end(kMembers),
                                 [id](const Member& m) { return m.id == id; });
  throw AutomationError::standard(known ? automation::kErrSetNotSupported
                                        : automation::kErrNotSupported);
}

Variant PropertyPageObject::call(DispId id, std::span<Variant> args) {
  const std::size_t fields = page_.fieldCount();
  switch (id) {
    case d::Apply:
      return Variant(page_.apply());
    case d::Load:
      page_.load();
      return Variant();
    default:
      break;
  }
  if (id < d::FieldName || id > d::Choose) {
    if (id >= d::Title && id <= d::ErrorField && args.empty()) return get(id);
    throw AutomationError::standard(automation::kErrNotSupported);
  }
  const std::size_t i = argIndex(args, 0, fields);
  const FieldBinding& field = page_.field(i);
  switch (id) {
    case d::FieldName:
      return text(field.property);
    case d::FieldKind:
      return Variant(static_cast<std::int32_t>(field.kind));
    case d::FieldText:
      return text(page_.text(i));
    case d::FieldIndex:
      return Variant(static_cast<std::int32_t>(page_.index(i)));
    case d::FieldEntryCount:
      return count(page_.entries(i).size());
    case d::FieldEntry:
      return text(page_.entries(i)[argIndex(args, 1, page_.entries(i).size())]);
    case d::FieldSpin:
      return Variant(field.spin);
    case d::FieldLow:
      return Variant(field.low);
    case d::FieldHigh:
      return Variant(field.high);
    case d::Edit:
      if (args.size() < 2) invalidArgument();
      return Variant(page_.edit(i, args[1].toString()));
    case d::Choose:
      if (args.size() < 2) invalidArgument();
      return Variant(page_.choose(i, args[1].toI4()));
    default:
      break;
  }
  throw AutomationError::standard(automation::kErrNotSupported);
}

}  // namespace ocx
