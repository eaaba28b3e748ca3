#pragma once

#include <functional>

namespace kelvora::dialogs {

// Help topics by context number, as the dialogs name them.
enum THelpContext {
  hcContents = 0,
  hcPreferences = 2,
  hcConnection = 3,
  hcUpload = 4,
};

// The dialogs ask for help through this link; the application installs the help window behind
// it at start-up. Without a handler a request does nothing.
void SetHelpHandler(std::function<void(int context)> handler);
void ShowHelp(int context);

}  // namespace kelvora::dialogs
