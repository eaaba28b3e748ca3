#pragma once

#include <memory>
#include <string>

namespace kelvora::diagnostics {

class TDebugMonitor;

enum TDebugMedia { dmNull = 0, dmFile = 1, dmWindow = 2, dmSerial = 3, dmStateFile = 4 };

// The protocol trace. Its state is class-wide: there is one log per process, and every
// instance (or none, through the free functions below) writes to it. Calls are serialised, so
// a line written from another thread is never mixed into another line.
//
// Media: dmFile writes "Debug.txt" (see FilePath); dmStateFile writes it in the state folder
// only; dmSerial writes to /dev/ttyS0, or the port named by $KELVORA_DEBUG_SERIAL, at 19200
// baud 8N1; dmWindow sends the text to the monitor the program installed (the windows program's
// is on the D-Bus session bus). A medium that cannot be opened, or dmWindow with no monitor
// installed, leaves the session closed and every write is dropped.
class TDebugDevice {
 public:
  TDebugMedia Media() const;
  void SetMedia(TDebugMedia media);  // ignored while a session is open

  void Open();   // starts a session on the current medium and writes the start banner
  void Close();  // writes the end banner and ends the session
  void Write(const std::string& text);  // as it is, without a line end

  static bool SessionOpen();
  // The medium of dmWindow sessions from now on; ignored while a session is open.
  static void InstallMonitor(std::unique_ptr<TDebugMonitor> monitor);
  // Where dmFile writes: "Debug.txt" beside the program (or in $KELVORA_DEBUG_DIR when set), or
  // in the user's state folder when that folder is not writable. Empty until a file session
  // has been opened; afterwards the file of the latest one.
  static std::string FilePath();
};

// The application's device; null until the debugging data module exists. Calls through a null
// device still reach the class-wide log.
extern TDebugDevice* DebugDevice;

// text followed by CR LF.
void WriteDebugLine(TDebugDevice* device, const std::string& text);
// Shorthands on the application's log.
void DebugWrite(const std::string& text);
void DebugLine(const std::string& text);

}  // namespace kelvora::diagnostics
