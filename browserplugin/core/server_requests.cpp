#include "server_requests.h"

namespace kebo {

std::optional<Request> sendRequest(const PairList& pairs, std::string_view dialogPage) {
  PairList sent = pairs;
  std::string url(sent.value("TURL"));
  if (url.empty()) url = dialogPage;
  if (url.empty()) return std::nullopt;
  Request request;
  std::string_view frame = sent.value("BFRM");
  if (!frame.empty()) request.target = std::string(frame);
  sent.hide("TURL");
  sent.hide("BFRM");
  std::string params = sent.serialise();
  request.url = params.empty() ? url : url + "?params=" + params;
  return request;
}

PairList errorReportPairs(long n, std::string_view errorUrl, std::string_view errorFrame) {
  PairList pairs(kParamSeparator);
  pairs.set("APPID", "0");
  pairs.set("JOBID", "0");
  pairs.set("NUMERR", std::to_string(n));
  if (!errorUrl.empty()) pairs.set("TURL", errorUrl);
  if (!errorFrame.empty()) pairs.set("BFRM", errorFrame);
  return pairs;
}

namespace {
std::string reportEntry(const InstalledComponent& c) {
  std::string entry = "value=" + c.name + ";";
  if (!c.opened) return entry + "none;0;0";
  entry += c.clsid.value_or("none");
  entry += c.fileReadable ? ";1;" : ";0;";
  entry += c.version.value_or("none");
  return entry;
}
}  // namespace

std::string componentReport(std::string_view url,
                            const std::optional<std::vector<InstalledComponent>>& components) {
  std::string text(url.substr(0, kReportLimit));
  if (!components || text.size() + 1 > kReportLimit) return text;
  text += '?';
  bool first = true;
  for (const InstalledComponent& c : *components) {
    std::string entry = first ? "" : "&";
    entry += reportEntry(c);
    if (text.size() + entry.size() > kReportLimit) break;
    text += entry;
    first = false;
  }
  return text;
}

}  // namespace kebo
