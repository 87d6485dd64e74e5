// DISPIDs of the dispatch interface; clients bind by these numbers.
#pragma once

#include "automation/automation.h"

namespace kvplotax::dispid {

using automation::DispId;

constexpr DispId FontBold = 1;
constexpr DispId FontItalic = 2;
constexpr DispId FontName = 3;
constexpr DispId FontSize = 4;
constexpr DispId FontStrikethru = 5;
constexpr DispId FontUnderline = 6;
constexpr DispId CtlVersion = 7;
constexpr DispId BorderColor = 8;
constexpr DispId LightColor = 9;
constexpr DispId ShadowColor = 0x0a;
constexpr DispId BevelInner = 0x0b;
constexpr DispId BevelOuter = 0x0c;
constexpr DispId BevelWidth_Inner = 0x0d;
constexpr DispId BevelWidth_Outer = 0x0e;
constexpr DispId BorderWidth = 0x0f;
constexpr DispId Outline = 0x10;
constexpr DispId OutlineColor = 0x11;
constexpr DispId RoundedCorners = 0x12;
constexpr DispId FramesPerSec = 0x13;
constexpr DispId Pen_Select = 0x14;
constexpr DispId AutoSize = 0x15;
constexpr DispId Viewports = 0x16;
constexpr DispId Viewport_Select = 0x17;
constexpr DispId FrameOn = 0x18;
constexpr DispId FrameTics = 0x19;
constexpr DispId AxesType = 0x1a;
constexpr DispId GridType = 0x1b;
constexpr DispId AxesTics = 0x1c;
constexpr DispId GridOn = 0x1d;
constexpr DispId BackColor = 0x1e;
constexpr DispId FrameColor = 0x1f;
constexpr DispId AxesColor = 0x20;
constexpr DispId GridColor = 0x21;
constexpr DispId MajorDivHorz = 0x22;
constexpr DispId MajorDivVert = 0x23;
constexpr DispId MinorDiv = 0x24;
constexpr DispId MarginLeft = 0x25;
constexpr DispId MarginTop = 0x26;
constexpr DispId MarginRight = 0x27;
constexpr DispId MarginBottom = 0x28;
constexpr DispId ViewportStorageColor = 0x29;
constexpr DispId ViewportStorageOn = 0x2a;
constexpr DispId Action = 0x2b;
constexpr DispId ChnXform_Select = 0x2c;
constexpr DispId Wnd_Select = 0x2d;
constexpr DispId WndXmin = 0x2e;
constexpr DispId WndYmin = 0x2f;
constexpr DispId WndWidth = 0x30;
constexpr DispId WndHeight = 0x31;
constexpr DispId WndX = 0x32;
constexpr DispId WndY = 0x33;
constexpr DispId ViewportLeft = 0x34;
constexpr DispId ViewportRight = 0x35;
constexpr DispId ViewportTop = 0x36;
constexpr DispId ViewportBottom = 0x37;
constexpr DispId ChnData_Dimension = 0x38;
constexpr DispId ChnDspAction = 0x39;
constexpr DispId ChnDspStyle = 0x3a;
constexpr DispId Chn_Select = 0x3b;
constexpr DispId ColorDepth = 0x3c;
constexpr DispId Scale_Select = 0x3d;
constexpr DispId ScaleAction = 0x3e;
constexpr DispId ScaleWindow = 0x3f;
constexpr DispId ScaleViewport = 0x40;
constexpr DispId ScalePen = 0x41;
constexpr DispId ScalePlaces = 0x42;
constexpr DispId ScaleGap = 0x43;
constexpr DispId ScalePosition = 0x44;
constexpr DispId ScaleOrientation = 0x45;
constexpr DispId ScaleLocation = 0x46;
constexpr DispId ScaleDimension = 0x47;
constexpr DispId ScalePath = 0x48;
constexpr DispId ScaleVisibility = 0x49;
constexpr DispId ScaleFactor = 0x4a;
constexpr DispId LabelCaption = 0x4b;
constexpr DispId LabelPen = 0x4c;
constexpr DispId LabelPosition = 0x4d;
constexpr DispId LabelOrientation = 0x4e;
constexpr DispId LabelLocation = 0x4f;
constexpr DispId LabelPath = 0x50;
constexpr DispId GridSymmetry = 0x54;
constexpr DispId ErrBase = 0x55;
constexpr DispId ImageFile = 0x56;
constexpr DispId HitTest = 0x57;
constexpr DispId PenColor = 0x58;
constexpr DispId PenIntenseColor = 0x59;
constexpr DispId PenStyle = 0x5a;
constexpr DispId PenWidth = 0x5b;
constexpr DispId ChnXformGain = 0x5c;
constexpr DispId ChnXformLSB = 0x5d;
constexpr DispId ChnXformMSB = 0x5e;
constexpr DispId ChnXformOffset = 0x5f;
constexpr DispId ChnDataShape = 0x60;
constexpr DispId ChnDataType = 0x61;
constexpr DispId ChnDataIncr = 0x62;
constexpr DispId ChnDataOffset = 0x63;
constexpr DispId ChnDataXform = 0x64;
constexpr DispId ChnDspMode = 0x65;
constexpr DispId ChnDspPen = 0x66;
constexpr DispId ChnDspBufLen = 0x67;
constexpr DispId ChnDspOffsetX = 0x68;
constexpr DispId ChnDspOffsetY = 0x69;
constexpr DispId ChnDspUserData = 0x6a;
constexpr DispId ChnDspViewport = 0x6b;
constexpr DispId ChnDspWindow = 0x6c;
constexpr DispId PersistProp = 0x6d;
constexpr DispId MousePointer = 0x6e;
constexpr DispId MouseIcon = 0x6f;
constexpr DispId ChartData = 0x70;
constexpr DispId VBPrintWindow = 0x71;
constexpr DispId AboutBox = -552;

// Events of the event interface.
constexpr DispId EventMouseDown = 1;
constexpr DispId EventMouseMove = 2;
constexpr DispId EventMouseUp = 3;
constexpr DispId EventRefresh = 4;

}  // namespace kvplotax::dispid
