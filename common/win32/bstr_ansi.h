// Text in the ANSI code page to UTF-16, and BSTRs to and from it, at the
// boundary of COM and wide-character calls.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <memory>
#include <string>
#include <string_view>

namespace win {

// UTF-16 of text in the ANSI code page.
inline std::wstring ansiToWide(const std::string& text) {
  if (text.empty()) return {};
  int length = static_cast<int>(text.size());
  int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), size);
  return wide;
}

struct BstrFreer {
  void operator()(BSTR b) const { SysFreeString(b); }
};
// An owned BSTR, freed with SysFreeString.
using UniqueBstr = std::unique_ptr<OLECHAR, BstrFreer>;

// The text of a BSTR in the ANSI code page; a null BSTR is the empty text.
inline std::string bstrToAnsi(BSTR text) {
  if (text == nullptr) return {};
  int length = static_cast<int>(SysStringLen(text));
  if (length == 0) return {};
  int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), size, nullptr, nullptr);
  return out;
}

// A new BSTR of ANSI text (null when out of memory).
inline UniqueBstr ansiToBstr(std::string_view text) {
  int length = static_cast<int>(text.size());
  int size = length ? MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0) : 0;
  UniqueBstr out(SysAllocStringLen(nullptr, static_cast<UINT>(size)));
  if (out && size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), length, out.get(), size);
  return out;
}

}  // namespace win
