// The class ids of the two component doubles.
#pragma once

#include <windows.h>

namespace kebocomponent {

// keboinproc.dll
inline constexpr CLSID kInprocComponentClsid = {
    0xbbf0f053, 0xec52, 0x468e, {0xa2, 0x23, 0xe4, 0x25, 0xef, 0x9f, 0x2a, 0xc1}};
inline constexpr char kInprocComponentClsidText[] = "{BBF0F053-EC52-468E-A223-E425EF9F2AC1}";
// keboserver.exe
inline constexpr CLSID kServerComponentClsid = {
    0x57a9d99f, 0x5b0c, 0x4fed, {0xb0, 0xba, 0x15, 0xf7, 0x8d, 0xb4, 0xb1, 0xd8}};
inline constexpr char kServerComponentClsidText[] = "{57A9D99F-5B0C-4FED-B0BA-15F78DB4B1D8}";

}  // namespace kebocomponent
