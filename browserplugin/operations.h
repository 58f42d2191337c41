// What an instance does with server answers and component requests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "pair_list.h"

namespace npvlx {

struct Instance;
class AppCallback;

// actions.cpp: a server answer and its action; source is the URL it came
// from, none for the ADATA of EXECA. Installing (2) and launching (3) are
// done only for a dialog page, and a source, on a trusted server.
void handleAnswer(Instance& instance, std::string_view text, const std::optional<std::string>& source);
// Sends the pairs to the server (TURL or the dialog page, frame BFRM).
void sendToServer(Instance& instance, const kebo::PairList& pairs);
void sendErrorReport(Instance& instance, long number);

// installing.cpp: action 2. The number of a failure is the one the error
// report gives the server.
enum class InstallResult { Installed = 0, TempFileFailed = 1, ExpansionFailed = 2, RegistrationFailed = 3,
                           RegistryFailed = 4 };
InstallResult installComponent(const kebo::PairList& pairs, std::string_view payload);

// launching.cpp: creates, advises and feeds a component; on failure tells
// the user and fetches the component's package when "urldata" says where.
void launchComponent(Instance& instance, const kebo::PairList& parameters);
// Ends every component of the instance's list (at Destroy).
void releaseComponents(Instance& instance);

// component_commands.cpp.
void executeComponentCommand(Instance& owner, AppCallback& callback, const std::string& command);
// A download stream closed: tells the component that asked for it.
void downloadComplete(Instance& instance, const std::string& streamUrl, const std::string& localPath,
                      bool completed);

}  // namespace npvlx
