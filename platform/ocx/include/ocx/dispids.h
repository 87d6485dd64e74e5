// Dispatch identifiers of the stock properties, methods and events.
#pragma once

#include "automation/automation.h"

namespace ocx {

constexpr automation::DispId kDispIdBackColor = -501;
constexpr automation::DispId kDispIdFont = -512;
constexpr automation::DispId kDispIdForeColor = -513;
constexpr automation::DispId kDispIdEnabled = -514;
constexpr automation::DispId kDispIdHwnd = -515;
constexpr automation::DispId kDispIdRefresh = -550;
constexpr automation::DispId kDispIdAboutBox = -552;

constexpr automation::DispId kDispIdClick = -600;
constexpr automation::DispId kDispIdDblClick = -601;
constexpr automation::DispId kDispIdKeyDown = -602;
constexpr automation::DispId kDispIdKeyPress = -603;
constexpr automation::DispId kDispIdKeyUp = -604;

// Ambient properties a container answers.
constexpr automation::DispId kDispIdAmbientUserMode = -709;

// Property-changed notification for "everything changed".
constexpr automation::DispId kDispIdUnknown = -1;

}  // namespace ocx
