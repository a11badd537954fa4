// Fatal window and card failures: a message box whose caption is the
// program path, then the process ends with status -1.
#pragma once

#include <string_view>

struct Wendax;

inline constexpr std::string_view kTextRegisterClass = "Unable to register class!";
inline constexpr std::string_view kTextWindowsError = "Windows error";
inline constexpr std::string_view kTextDirectDrawCreate = "DirectX DirectDrawCreate() error!";
inline constexpr std::string_view kTextCooperativeLevel = "DirectX SetCooperativeLevel() error!";
inline constexpr std::string_view kTextScreenError = "Screen error!";
inline constexpr std::string_view kTextRestoreDisplayMode = "DirectX RestoreDisplayMode() error!";
inline constexpr std::string_view kTextSetDisplayMode = "DirectX SetDisplayMode() error!";
inline constexpr std::string_view kTextCreateSurface = "DirectX CreateSurface() error!";
inline constexpr std::string_view kTextAttachedSurface = "DirectX GetAttachedSurface() error!";
inline constexpr std::string_view kTextModeX = "DirectX error (Mode X)!";

// -1 as the 8-bit exit status of a process.
inline constexpr int kDisplayFatalExitStatus = 255;

[[noreturn]] void Display_Fatal(Wendax& wx, std::string_view text);
