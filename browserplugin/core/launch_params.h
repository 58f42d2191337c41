// The parameter text of a component launch: the page parameters "paramsapp",
// "paramsapp1" ... "paramsapp49", each unescaped, joined in that order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "pair_list.h"

namespace kebo {

// The most bytes the joined parameter text holds.
inline constexpr std::size_t kLaunchTextLimit = 13000;

// "#" stands for a double quote; a backslash takes the next byte as it is.
std::string unescapeParam(std::string_view text);

// The joined text. A value that would pass the limit is left out, with
// every one after it, so that no pair arrives cut short.
std::string gatherLaunchText(const PairList& parameters);

}  // namespace kebo
