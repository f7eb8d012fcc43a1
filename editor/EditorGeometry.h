// SPDX-License-Identifier: Apache-2.0
#pragma once

// Where the editor's controls sit: the legend and the sixteen strips share
// their rows, and the memory map lines up under them.
namespace EditorGeometry {

inline constexpr int LegendWidth = 122;
inline constexpr int StripWidth = 49;
// Row tops and heights, the same in every column.
inline constexpr int NumberTop = 0, NumberHeight = 31;
inline constexpr int GpioTop = 31, GpioHeight = 72;
inline constexpr int GroupTop = 103, GroupHeight = 31;
inline constexpr int ModeTop = 134, ModeHeight = 104;
inline constexpr int ColoursTop = 238, ColoursHeight = 160;
inline constexpr int ChannelAreaHeight = ColoursTop + ColoursHeight + 2;
inline constexpr int ColumnHeight = ChannelAreaHeight - 2;
// The legend's signal-state buttons, left of the brightness bars.
inline constexpr int LegendButtonsLeft = 25, LegendButtonsWidth = 95;
inline constexpr int ChannelAreaWidth = 908;
inline constexpr int ControlPanelWidth = 144;
inline constexpr int CommandColumnWidth = 91;
inline constexpr int CanvasWidth = 1149;

} // namespace EditorGeometry
