#pragma once

namespace kelvora::midi {

class TMidiIn;

// Writes every SysEx byte waiting in `in` to the debug log as "%02x " values, 16 to a row, each
// row ended by the line " ", between "** Start of MidiIn Dump **" and "** End of MidiIn Dump **".
// The bytes are consumed.
void WriteInputDump(TMidiIn& in);

}  // namespace kelvora::midi
