#pragma once

// The version-information library "aboutwin": one C entry point, FormView,
// that shows the program's version window modally and returns when the user
// has closed it. The host loads the library only for that moment.

#include <cstdint>

#if defined(_WIN32)
#define ABOUTWIN_CALL __stdcall
#define ABOUTWIN_EXPORT __declspec(dllexport)
#else
#define ABOUTWIN_CALL
#define ABOUTWIN_EXPORT __attribute__((visibility("default")))
#endif

// Every text argument points to a zero-terminated UTF-16 buffer of this many
// characters; the library never reads past it, terminator or not.
inline constexpr int kAboutTextChars = 256;

// The code the host passes to prove it speaks this interface; any other
// value makes FormView return without showing anything.
inline constexpr std::int32_t kAboutCode = 0x00000370;

extern "C" {
// owner: the host window's native handle (HWND on Windows, WId elsewhere),
// or null. productLine, version, extraLine, years: the texts shown.
typedef void(ABOUTWIN_CALL* FormViewFunction)(void* owner, std::int32_t code,
                                               const char16_t* productLine,
                                               const char16_t* version,
                                               const char16_t* extraLine,
                                               const char16_t* years);

ABOUTWIN_EXPORT void ABOUTWIN_CALL FormView(void* owner, std::int32_t code,
                                            const char16_t* productLine, const char16_t* version,
                                            const char16_t* extraLine, const char16_t* years);
}
