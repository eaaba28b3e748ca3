#pragma once

namespace kelvora::app {

// Registers the pictures and the help set built into the program. The library is static, so its
// resources are only linked in when something refers to them; safe to call more than once.
void InitResources();

}  // namespace kelvora::app
