// The browser double's record of every call: one line each on standard
// output, written at once so that a crash loses nothing.
#pragma once

#include <string>
#include <string_view>

namespace host {

void record(const std::string& line);
// Bytes as a line can show them: control bytes and "\" escaped as \xNN.
std::string escapeBytes(std::string_view bytes);
inline std::string orNull(const char* text) { return text ? text : "(null)"; }

}  // namespace host
