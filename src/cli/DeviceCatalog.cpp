#include "cli/DeviceCatalog.h"

#include <algorithm>
#include <cctype>

namespace kelvora::cli {

namespace {

bool IsSim(const std::string& text) {
  const std::string trimmed = midi::TrimTrailingBlanks(text);
  return trimmed.size() == 3 &&
         std::equal(trimmed.begin(), trimmed.end(), "sim", [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == b;
         });
}

}  // namespace

DeviceCatalog::DeviceCatalog(const std::vector<midi::DeviceName>& inputs,
                             const std::vector<midi::DeviceName>& outputs,
                             const std::string& simulatorName) {
  for (size_t i = 0; i < inputs.size(); ++i) rows_.push_back({inputs[i], static_cast<int>(i)});
  for (size_t o = 0; o < outputs.size(); ++o) {
    const auto partner = std::find_if(rows_.begin(), rows_.end(), [&](const DeviceRow& row) {
      return row.output < 0 && row.input >= 0 && row.name == outputs[o];
    });
    if (partner != rows_.end()) {
      partner->output = static_cast<int>(o);
    } else {
      rows_.push_back({outputs[o], -1, static_cast<int>(o)});
    }
  }
  rows_.push_back({midi::DeviceName(simulatorName), static_cast<int>(inputs.size()),
                   static_cast<int>(outputs.size()), true});
}

midi::DeviceMatch DeviceCatalog::Find(const std::string& wanted) const {
  if (IsSim(wanted)) return {static_cast<int>(rows_.size()) - 1, {}};
  std::vector<midi::DeviceName> names;
  for (const DeviceRow& row : rows_) names.push_back(row.name);
  return midi::MatchDevice(names, wanted);
}

}  // namespace kelvora::cli
