#pragma once
// Where the channel editor's sections stand, in dialog units; shared by the
// files that build the screen.

namespace corvane::channel_layout {

inline constexpr int kWidthUnits = 560;
inline constexpr int kHeightUnits = 430;
inline constexpr int kLeft = 10;    // the lists' column
inline constexpr int kRight = 290;  // the settings' column
inline constexpr int kSpinX = 500;

}  // namespace corvane::channel_layout
