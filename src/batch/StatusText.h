#pragma once

#include <string>

namespace kelvora::batch {

// The sampler's status codes in words ("memory full"), for messages.
std::string StatusText(int code);

}  // namespace kelvora::batch
