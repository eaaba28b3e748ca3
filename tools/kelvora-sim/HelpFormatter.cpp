#include "kelvora-sim/HelpFormatter.h"

namespace kelvora::simcli {

std::string HelpFormatter::make_help(const CLI::App* app, std::string name,
                                     CLI::AppFormatMode) const {
  std::string text = "Usage: " + name + " " + synopsis_ + "\n" + app->get_description();
  for (const std::string& group : app->get_groups()) {
    const auto inGroup = [&group](const CLI::Option* option) {
      return option->get_group() == group;
    };
    text += make_group(group, false, app->get_options(inGroup));
  }
  return text;
}

}  // namespace kelvora::simcli
