// IShowInstallDlg, ShowFile and SetupType: a dialog owned by the command's
// window; its result becomes the condition flag.
#include "argument_text.h"
#include "dialogs.h"
#include "system_commands.h"

namespace setup::win32 {

namespace {

HWND ownerOf(const CommandCall& call) { return static_cast<HWND>(call.window); }

}  // namespace

void IShowInstallDlg(Interpreter& in, const CommandCall& call) {
  INT_PTR result = showWelcomeDialog(ownerOf(call), in);
  if (result == -1) {
    in.host().messageBox(call.window, "Could not create Dialog box", "ERROR", Buttons::Ok);
  }
  in.setCondition(static_cast<int>(result));
}

void ShowFile(Interpreter& in, const CommandCall& call) {
  INT_PTR result = showLicence(ownerOf(call), call.value1 ? &*call.value1 : nullptr);
  in.setCondition(result == 1 ? 1 : 0);
}

void SetupType(Interpreter& in, const CommandCall& call) {
  INT_PTR result = chooseSetupType(ownerOf(call), in);
  in.setCondition(static_cast<int>(result));
  if (result != 0) return;
  Value title = in.variable("SETUPNAME");
  in.host().messageBox(in.host().backgroundWindow(), "Installation aborted. Have a nice day anyway ;-)",
                       title ? title->c_str() : nullptr, Buttons::Ok);
  in.host().endWindow(call.window);
  in.abortInstallation();
}

}  // namespace setup::win32
