// The control's registered identities.
#pragma once

#include <string_view>

namespace kvplotax {

constexpr std::string_view kClsidText = "{F9285160-7EB9-11D0-AADB-0000C05F07C7}";
constexpr std::string_view kDispatchIidText = "{F9285161-7EB9-11D0-AADB-0000C05F07C7}";
constexpr std::string_view kEventsIidText = "{F9285162-7EB9-11D0-AADB-0000C05F07C7}";
constexpr std::string_view kTypeLibText = "{F9285163-7EB9-11D0-AADB-0000C05F07C7}";
constexpr std::string_view kPersistPropClsidText = "{C5CF7860-85E6-11D0-AAE9-0000C05F07C7}";
constexpr std::string_view kProgId = "Vextrin.Plotrex.1";
constexpr std::string_view kPersistPropProgId = "Vextrin.Plotrex.PersistProp.1";

}  // namespace kvplotax
