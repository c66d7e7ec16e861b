#pragma once

#include <string_view>

// The names by which the core addresses the controls of the main window.
namespace shareseek {

using ControlName = std::u8string_view;

namespace control {
inline constexpr ControlName 标签1 = u8"标签1";
inline constexpr ControlName 编辑框1 = u8"编辑框1"; // the keyword
inline constexpr ControlName 按钮1 = u8"按钮1";     // 给我搜
inline constexpr ControlName 按钮2 = u8"按钮2";     // 随便搜搜
inline constexpr ControlName 标签4 = u8"标签4";     // the local version number
inline constexpr ControlName 标签6 = u8"标签6";
inline constexpr ControlName 分组框1 = u8"分组框1";
inline constexpr ControlName 标签5 = u8"标签5";     // the latest version number
inline constexpr ControlName 选择框1 = u8"选择框1"; // 其他: the extra hosts
inline constexpr ControlName 选择框_全部 = u8"选择框_全部";
inline constexpr ControlName 标签2 = u8"标签2"; // the result count
inline constexpr ControlName 标签3 = u8"标签3";
inline constexpr ControlName 编辑框2 = u8"编辑框2";         // the filter text
inline constexpr ControlName 超级按钮1 = u8"超级按钮1";     // the filter button
inline constexpr ControlName 超级列表框1 = u8"超级列表框1"; // all results
inline constexpr ControlName 超级列表框2 = u8"超级列表框2"; // filtered results
} // namespace control

} // namespace shareseek
