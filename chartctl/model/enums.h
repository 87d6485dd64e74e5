// The type library's enumerations: the values the properties store.
#pragma once

#include <cstdint>

namespace kvplotax {

// ErrCode: ChartData's negative return codes.
constexpr std::int32_t PlotrexData_InvCtl = -1;
constexpr std::int32_t PlotrexData_IntCtl = -2;
constexpr std::int32_t PlotrexData_InvChn = -3;
constexpr std::int32_t PlotrexData_NotInit = -4;
constexpr std::int32_t PlotrexData_NoYtran = -5;
constexpr std::int32_t PlotrexData_NullY = -6;
constexpr std::int32_t PlotrexData_Shape = -7;
constexpr std::int32_t PlotrexData_NoXtran = -8;
constexpr std::int32_t PlotrexData_NullX = -9;
constexpr std::int32_t PlotrexData_Bounds = -10;
constexpr std::int32_t PlotrexData_InvalidScroll = -11;

// HitDetections
constexpr std::int16_t Plotrex_HitNothing = 0;
constexpr std::int16_t Plotrex_HitChannel = 1;
constexpr std::int16_t Plotrex_HitScale = 2;
constexpr std::int16_t Plotrex_HitLabel = 3;

// ChartActions
constexpr std::int16_t Plotrex_Rescale = 0;
constexpr std::int16_t Plotrex_CopyToClipboard = 1;
constexpr std::int16_t Plotrex_AppendToClipboard = 2;
constexpr std::int16_t Plotrex_Print = 3;
constexpr std::int16_t Plotrex_WriteToDisk = 4;
constexpr std::int16_t Plotrex_DisablePaint = 5;
constexpr std::int16_t Plotrex_EnablePaint = 6;

// GridTypes
constexpr std::int16_t Plotrex_HorzVertGrid = 0;
constexpr std::int16_t Plotrex_HorzGrid = 1;
constexpr std::int16_t Plotrex_VertGrid = 2;
constexpr std::int16_t Plotrex_NoGrid = 3;

// ChnDataShapes
constexpr std::int16_t Plotrex_Scalar = 0;
constexpr std::int16_t Plotrex_Pair = 1;
constexpr std::int16_t Plotrex_AutoIncr = 2;

// Dims
constexpr std::int16_t Plotrex_Horz = 0;
constexpr std::int16_t Plotrex_Vert = 1;

// ChnDataTypes
constexpr std::int16_t Plotrex_Unsigned_8_int = 0;
constexpr std::int16_t Plotrex_Signed_8_int = 1;
constexpr std::int16_t Plotrex_Unsigned_16_int = 2;
constexpr std::int16_t Plotrex_Signed_16_int = 3;
constexpr std::int16_t Plotrex_Integer = 3;
constexpr std::int16_t Plotrex_Unsigned_32_int = 4;
constexpr std::int16_t Plotrex_Signed_32_int = 5;
constexpr std::int16_t Plotrex_Long = 5;
constexpr std::int16_t Plotrex_Float_32 = 6;
constexpr std::int16_t Plotrex_Single = 6;
constexpr std::int16_t Plotrex_Float_64 = 7;
constexpr std::int16_t Plotrex_Double = 7;

// ChnDspActions
constexpr std::int16_t Plotrex_ChnNoAction = 0;
constexpr std::int16_t Plotrex_ChnInitialize = 1;
constexpr std::int16_t Plotrex_ChnErase = 2;
constexpr std::int16_t Plotrex_ChnIntenseColor = 3;
constexpr std::int16_t Plotrex_ChnNormalColor = 4;
constexpr std::int16_t Plotrex_ChnChangePen = 5;
constexpr std::int16_t Plotrex_ChnChangeViewport = 6;
constexpr std::int16_t Plotrex_ChnChangeWindow = 7;
constexpr std::int16_t Plotrex_ChnFlush = 8;
constexpr std::int16_t Plotrex_ChnTranslate = 9;
// The trace's line stops at the newest point held; the next point starts a new run. For a
// client whose data has holes (a recording that stopped and went on), so that no line is drawn
// across them.
constexpr std::int16_t Plotrex_ChnEndRun = 10;

// ChnDspModes
constexpr std::int16_t Plotrex_CRT = 0;
constexpr std::int16_t Plotrex_ScrollRight = 1;

// ChnDspStyles
constexpr std::int16_t Plotrex_Points = 0;
constexpr std::int16_t Plotrex_Lines = 1;
constexpr std::int16_t Plotrex_Area = 2;

// ColorDepth
constexpr std::int16_t Plotrex_ColorDefault = 0;
constexpr std::int16_t Plotrex_Color16 = 1;
constexpr std::int16_t Plotrex_Color256 = 2;

// FrameTics
constexpr std::int16_t Plotrex_MajorMinorFrameTics = 0;
constexpr std::int16_t Plotrex_MajorFrameTics = 1;
constexpr std::int16_t Plotrex_NoFrameTics = 2;

// GridSymmetry
constexpr std::int16_t Plotrex_IsotropicGrid = 0;
constexpr std::int16_t Plotrex_AnisotropicGrid = 1;

// LabelLocations
constexpr std::int16_t Plotrex_LeftBottom = 0;
constexpr std::int16_t Plotrex_Center = 1;
constexpr std::int16_t Plotrex_RightTop = 2;

// Orientations
constexpr std::int16_t Plotrex_Parallel = 0;
constexpr std::int16_t Plotrex_Perpendicular = 1;

// Paths
constexpr std::int16_t Plotrex_RightPath = 0;
constexpr std::int16_t Plotrex_UpPath = 1;
constexpr std::int16_t Plotrex_LeftPath = 2;
constexpr std::int16_t Plotrex_DownPath = 3;

// Positions
constexpr std::int16_t Plotrex_BelowRight = 0;
constexpr std::int16_t Plotrex_AboveLeft = 1;
constexpr std::int16_t Plotrex_OnScale = 2;

// ScaleLocations
constexpr std::int16_t Plotrex_Axis = 0;
constexpr std::int16_t Plotrex_FrameLeftTop = 1;
constexpr std::int16_t Plotrex_FrameRightBottom = 2;

// ScaleVisibilities
constexpr std::int16_t Plotrex_Hidden = 0;
constexpr std::int16_t Plotrex_ScaleOnly = 1;
constexpr std::int16_t Plotrex_LabelOnly = 2;
constexpr std::int16_t Plotrex_ScaleAndLabel = 3;

// MousePointers
constexpr std::int16_t MousePointer_Default = 0;
constexpr std::int16_t MousePointer_Arrow = 1;
constexpr std::int16_t MousePointer_Cross = 2;
constexpr std::int16_t MousePointer_IBeam = 3;
constexpr std::int16_t MousePointer_Icon = 4;
constexpr std::int16_t MousePointer_Size = 5;
constexpr std::int16_t MousePointer_SizeNESW = 6;
constexpr std::int16_t MousePointer_SizeNS = 7;
constexpr std::int16_t MousePointer_SizeNWSE = 8;
constexpr std::int16_t MousePointer_SizeWE = 9;
constexpr std::int16_t MousePointer_UpArrow = 10;
constexpr std::int16_t MousePointer_Hourglass = 11;
constexpr std::int16_t MousePointer_NoDrop = 12;
constexpr std::int16_t MousePointer_AppStarting = 13;
constexpr std::int16_t MousePointer_Question = 14;
constexpr std::int16_t MousePointer_SizeAll = 15;
constexpr std::int16_t MousePointer_Hand = 16;
constexpr std::int16_t MousePointer_Bar = 17;
constexpr std::int16_t MousePointer_PushLt = 18;
constexpr std::int16_t MousePointer_PushRt = 19;
constexpr std::int16_t MousePointer_CrossHair = 20;
constexpr std::int16_t MousePointer_Target = 21;
constexpr std::int16_t MousePointer_Disc = 22;
constexpr std::int16_t MousePointer_Custom = 99;

// PenStyles
constexpr std::int16_t Plotrex_SolidPen = 0;
constexpr std::int16_t Plotrex_DashPen = 1;
constexpr std::int16_t Plotrex_DotPen = 2;
constexpr std::int16_t Plotrex_DashDotPen = 3;
constexpr std::int16_t Plotrex_DashDotDotPen = 4;

// BevelStyles
constexpr std::int16_t Plotrex_None = 0;
constexpr std::int16_t Plotrex_Inset = 1;
constexpr std::int16_t Plotrex_Raised = 2;

// ScaleActions
constexpr std::int16_t Plotrex_ScaleNoAction = 0;
constexpr std::int16_t Plotrex_ScaleInitialize = 1;
constexpr std::int16_t Plotrex_ScaleErase = 2;
constexpr std::int16_t Plotrex_ScaleIntenseColor = 3;
constexpr std::int16_t Plotrex_ScaleNormalColor = 4;
constexpr std::int16_t Plotrex_ScaleChangePen = 5;
constexpr std::int16_t Plotrex_ScaleChangeViewport = 6;
constexpr std::int16_t Plotrex_ScaleChangeWindow = 7;

// AxesTypes
constexpr std::int16_t Plotrex_HorzVertAxes = 0;
constexpr std::int16_t Plotrex_HorzAxis = 1;
constexpr std::int16_t Plotrex_VertAxis = 2;
constexpr std::int16_t Plotrex_NoAxes = 3;

// AxesTics
constexpr std::int16_t Plotrex_MajorMinorAxesTics = 0;
constexpr std::int16_t Plotrex_MajorAxesTics = 1;
constexpr std::int16_t Plotrex_NoAxesTics = 2;

// PrintAreas
constexpr std::int16_t PRINT_WINDOW = 1;
constexpr std::int16_t PRINT_CLIENTAREA = 2;

// PrintOptions
constexpr std::int16_t PRINT_BESTFIT = 1;
constexpr std::int16_t PRINT_STRETCHTOPAGE = 2;
constexpr std::int16_t PRINT_SCALE = 3;

}  // namespace kvplotax
