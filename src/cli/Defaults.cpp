#include "cli/Defaults.h"

namespace kelvora::cli {

Defaults ReadDefaults(const std::string&, const std::vector<std::string>&,
                      const std::vector<std::string>&) {
  return {};
}

}  // namespace kelvora::cli
