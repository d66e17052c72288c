#pragma once

// Menu command ids. The resource script's header #defines the same names and numbers for the
// resource compiler; the macros are set aside here so either header may be included first.
// Where the macros are in effect, use the names unqualified.
#ifndef __cplusplus
#error "core/command_ids.h is C++ only; resource scripts use their own #defines"
#endif

#pragma push_macro("ID_STYLE1")
#undef ID_STYLE1
#pragma push_macro("ID_STYLE2")
#undef ID_STYLE2
#pragma push_macro("ID_STYLE3")
#undef ID_STYLE3
#pragma push_macro("ID_STYLE4")
#undef ID_STYLE4
#pragma push_macro("ID_STYLE5")
#undef ID_STYLE5
#pragma push_macro("ID_STYLE_CUSTOM")
#undef ID_STYLE_CUSTOM
#pragma push_macro("ID_OPACITY_100")
#undef ID_OPACITY_100
#pragma push_macro("ID_OPACITY_80")
#undef ID_OPACITY_80
#pragma push_macro("ID_OPACITY_60")
#undef ID_OPACITY_60
#pragma push_macro("ID_OPACITY_40")
#undef ID_OPACITY_40
#pragma push_macro("ID_OPACITY_20")
#undef ID_OPACITY_20
#pragma push_macro("ID_ALWAYS_ON_TOP")
#undef ID_ALWAYS_ON_TOP
#pragma push_macro("ID_LOCK_POSITION")
#undef ID_LOCK_POSITION
#pragma push_macro("ID_CLICK_THROUGH")
#undef ID_CLICK_THROUGH
#pragma push_macro("ID_ALARM_SHUTDOWN")
#undef ID_ALARM_SHUTDOWN
#pragma push_macro("ID_OPTIONS")
#undef ID_OPTIONS
#pragma push_macro("ID_ABOUT")
#undef ID_ABOUT
#pragma push_macro("ID_EXIT")
#undef ID_EXIT

namespace core {

constexpr int ID_STYLE1 = 32783, ID_STYLE2 = 32784, ID_STYLE3 = 32785, ID_STYLE4 = 32786,
              ID_STYLE5 = 32789, ID_STYLE_CUSTOM = 32790;
constexpr int ID_OPACITY_100 = 32773, ID_OPACITY_80 = 32774, ID_OPACITY_60 = 32775,
              ID_OPACITY_40 = 32776, ID_OPACITY_20 = 32777;
constexpr int ID_ALWAYS_ON_TOP = 32780, ID_LOCK_POSITION = 32779, ID_CLICK_THROUGH = 32787,
              ID_ALARM_SHUTDOWN = 32788, ID_OPTIONS = 32781, ID_ABOUT = 32778, ID_EXIT = 32771;

} // namespace core

#pragma pop_macro("ID_STYLE1")
#pragma pop_macro("ID_STYLE2")
#pragma pop_macro("ID_STYLE3")
#pragma pop_macro("ID_STYLE4")
#pragma pop_macro("ID_STYLE5")
#pragma pop_macro("ID_STYLE_CUSTOM")
#pragma pop_macro("ID_OPACITY_100")
#pragma pop_macro("ID_OPACITY_80")
#pragma pop_macro("ID_OPACITY_60")
#pragma pop_macro("ID_OPACITY_40")
#pragma pop_macro("ID_OPACITY_20")
#pragma pop_macro("ID_ALWAYS_ON_TOP")
#pragma pop_macro("ID_LOCK_POSITION")
#pragma pop_macro("ID_CLICK_THROUGH")
#pragma pop_macro("ID_ALARM_SHUTDOWN")
#pragma pop_macro("ID_OPTIONS")
#pragma pop_macro("ID_ABOUT")
#pragma pop_macro("ID_EXIT")
