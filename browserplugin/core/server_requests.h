// The request URLs the plug-in sends to the server.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pair_list.h"

namespace kebo {

struct Request {
  std::string url;
  std::optional<std::string> target;  // none: the answer comes back to the plug-in
};

// A send of the pairs: to "TURL" (else the dialog page), into frame "BFRM"
// (else none); the other pairs go as "?params=" followed by the
// "\xA3\xA3" list, unescaped. Nothing when there is no URL to send to.
std::optional<Request> sendRequest(const PairList& pairs, std::string_view dialogPage);

// The pairs of an error report with number n.
PairList errorReportPairs(long n, std::string_view errorUrl, std::string_view errorFrame);

// One installed component as action 5 reports it.
struct InstalledComponent {
  std::string name;
  bool opened = false;                 // its key could be opened
  std::optional<std::string> clsid;
  bool fileReadable = false;           // "Path" names a file that opens
  std::optional<std::string> version;
};

// The most bytes the report holds.
inline constexpr std::size_t kReportLimit = 2047;

// url?value=NAME;CLSID;1;VERSION&value=... ; just the url when the
// components' key did not open. Components that would pass the limit are
// left out, with every one after them.
std::string componentReport(std::string_view url,
                            const std::optional<std::vector<InstalledComponent>>& components);

}  // namespace kebo
