#pragma once

#include <optional>
#include <string>

namespace kelvora::testing {

// Sets (or with nullopt unsets) an environment variable and restores it on destruction.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

}  // namespace kelvora::testing
