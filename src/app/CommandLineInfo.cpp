#include "app/CommandLineInfo.h"

#include <algorithm>

#include "KelvoraVersion.h"

namespace kelvora::app {

namespace {

bool Contains(const std::vector<std::string>& arguments, const char* a, const char* b) {
  return std::any_of(arguments.begin(), arguments.end(),
                     [&](const std::string& argument) { return argument == a || argument == b; });
}

}  // namespace

std::optional<std::string> CommandLineInfo::Requested(const std::vector<std::string>& arguments) {
  if (Contains(arguments, "--help", "-h")) return HelpText();
  if (Contains(arguments, "--version", "-V")) return VersionText();
  return std::nullopt;
}

std::string CommandLineInfo::VersionText() { return "kelvora " KELVORA_VERSION "\n"; }

std::string CommandLineInfo::HelpText() {
  return "Usage: kelvora [/DF | /DS | /DW]\n"
         "       kelvora FILE.wav... [/DEL]\n"
         "       kelvora --help | --version\n"
         "\n"
         "Wavesample editor and transfer tool for the Ensoniq EPS, EPS-16 PLUS and ASR samplers,\n"
         "connected through MIDI System Exclusive.\n"
         "\n"
         "Switches (not case-sensitive; an argument is a switch when it begins with \"/\" and has\n"
         "no further \"/\", so /home/me/a.wav is a file name):\n"
         "  /DF            as the first argument: write the debug log to Debug.txt beside the\n"
         "                 program, or in $XDG_STATE_HOME/kelvora when that folder is not "
         "writable\n"
         "  /DS            as the first argument: write the debug log to the serial port\n"
         "                 ($KELVORA_DEBUG_SERIAL, default /dev/ttyS0) at 19200 baud\n"
         "  /DW            as the first argument: send the debug log to a monitor program on the\n"
         "                 session bus\n"
         "  FILE.wav...    upload each WAV file in turn through the upload dialog, with the main\n"
         "                 window hidden, then end\n"
         "  /DEL           with files: delete each file after its upload\n"
         "  -h, --help     show this help and exit\n"
         "  -V, --version  show the version and exit\n"
         "\n"
         "Settings: $XDG_CONFIG_HOME/Kelvora/Kelvora.ini (~/.config/Kelvora/Kelvora.ini).\n"
         "Only one Kelvora runs at a time; a second start ends at once.\n";
}

}  // namespace kelvora::app
