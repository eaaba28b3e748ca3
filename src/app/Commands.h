#pragma once

namespace kelvora::app {

// Every command of the main window: the menus, their items and the hidden items, in menu order.
enum class Cmd {
  File,
  OpenWavesample,
  CloseWavesample,
  Download,
  Upload,
  UploadMultisample,
  BackUp,
  Restore,
  AutoUpload,
  Exit,
  Edit,
  ClearData,
  ReverseData,
  ScaleData,
  NormalizeGain,
  FadeIn,
  FadeOut,
  SetSampleStart,
  SetSampleEnd,
  SetLoopStart,
  SetLoopEnd,
  SetPlaybackMode,
  SuggestLoop,
  SnapToZero,
  Preferences,
  GotoPref,
  View,
  VerticalScale,
  Scale256,
  Scale128,
  Scale64,
  Scale32,
  Scale16,
  Scale8,
  Scale4,
  Scale2,
  Scale1,
  ZoomIn,
  ZoomOut,
  ShowAll,
  LoopSeam,
  Help,
  Contents,
  Homepage,
  About,
  Debug,
  None,  // no parent: a menu of the menu bar
};

constexpr int kCommandCount = static_cast<int>(Cmd::None);

// Vertical scale index 8 ("1:256") .. 0 ("1:1") of a scale command, -1 for any other command.
constexpr int ScaleIndex(Cmd command) {
  const int offset = static_cast<int>(command) - static_cast<int>(Cmd::Scale256);
  return offset >= 0 && offset <= 8 ? 8 - offset : -1;
}
constexpr Cmd ScaleCommand(int index) {
  return static_cast<Cmd>(static_cast<int>(Cmd::Scale256) + 8 - index);
}

// The state the enabling of the commands depends on.
struct CommandState {
  bool wsOpen = false;
  bool hasSelection = false;
  bool loopOn = false;  // playback mode neither "Forward - No Loop" nor "Backward - No Loop"
  bool zoomed = false;
  int viewStep = 1;
};

enum class Enabling {
  Always,
  Open,
  OpenSelection,
  OpenSelectionLoop,
  OpenLoop,  // open with the loop on
  ZoomIn,    // open, selection and more than one sample per point
  Zoomed,    // open and zoomed
};

constexpr bool IsEnabled(Enabling rule, const CommandState& s) {
  switch (rule) {
    case Enabling::Always:
      return true;
    case Enabling::Open:
      return s.wsOpen;
    case Enabling::OpenSelection:
      return s.wsOpen && s.hasSelection;
    case Enabling::OpenSelectionLoop:
      return s.wsOpen && s.hasSelection && s.loopOn;
    case Enabling::OpenLoop:
      return s.wsOpen && s.loopOn;
    case Enabling::ZoomIn:
      return s.wsOpen && s.hasSelection && s.viewStep > 1;
    case Enabling::Zoomed:
      return s.wsOpen && s.zoomed;
  }
  return false;
}

}  // namespace kelvora::app
