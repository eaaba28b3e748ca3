#pragma once

#include <string>

namespace kelvora::batch {

// A name from the sampler made safe as a file name on any system: letters, digits, blanks and
// - _ . + # ( ) stay, anything else (a slash, a control character) becomes "_", leading dots and
// blanks go. An empty result gives `fallback`.
std::string SafeFileName(const std::string& name, const std::string& fallback);

}  // namespace kelvora::batch
