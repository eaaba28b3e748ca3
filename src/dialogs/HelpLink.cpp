#include "dialogs/HelpLink.h"

#include <utility>

namespace kelvora::dialogs {

namespace {
std::function<void(int)>& Handler() {
  static std::function<void(int)> handler;
  return handler;
}
}  // namespace

void SetHelpHandler(std::function<void(int context)> handler) { Handler() = std::move(handler); }

void ShowHelp(int context) {
  if (Handler()) Handler()(context);
}

}  // namespace kelvora::dialogs
