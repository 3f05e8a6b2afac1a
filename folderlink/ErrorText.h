// The cause of a failed platform call, in German, for the user.
#pragma once

#include <cstdint>
#include <string>

namespace L_SHTCUT {

// The program's own words for the common causes (access denied, not found,
// disk full, in use, network name or path not found, name too long, no such
// drive, the network's and the sockets' causes, ...); any other cause in the system's German text where it
// has one, else "unbekannter Fehler (Code N)". Never the system's English text: an English Windows has no
// German messages.
std::wstring ErrorText(std::uint32_t error);

} // namespace L_SHTCUT
