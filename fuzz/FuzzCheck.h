#pragma once

#include <cstdio>
#include <cstdlib>

namespace kelvora::fuzz {

// A broken invariant is a finding: libFuzzer keeps the input that reached it.
inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
  std::abort();
}

}  // namespace kelvora::fuzz
