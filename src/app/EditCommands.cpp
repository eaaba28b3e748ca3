#include "app/EditCommands.h"

#include <QMessageBox>

#include "app/CommandTable.h"
#include "app/MainForm.h"

namespace kelvora::app {

EditCommands::EditCommands(TMainForm& form) : form_(form) {
  CommandTable& table = form_.Commands();
  table.SetHandler(Cmd::ClearData, [this] { ClearDataClick(); });
  table.SetHandler(Cmd::ReverseData, [this] { ReverseDataClick(); });
  table.SetHandler(Cmd::ScaleData, [this] { ScaleDataClick(); });
  table.SetHandler(Cmd::NormalizeGain, [this] { NormalizeGainClick(); });
  table.SetHandler(Cmd::FadeIn, [this] { FadeInClick(); });
  table.SetHandler(Cmd::FadeOut, [this] { FadeOutClick(); });
  table.SetHandler(Cmd::SetSampleStart, [this] { SetSampleStartClick(); });
  table.SetHandler(Cmd::SetSampleEnd, [this] { SetSampleEndClick(); });
  table.SetHandler(Cmd::SetLoopStart, [this] { SetLoopStartClick(); });
  table.SetHandler(Cmd::SetLoopEnd, [this] { SetLoopEndClick(); });
  table.SetHandler(Cmd::SetPlaybackMode, [this] { SetPlaybackModeClick(); });
}

void EditCommands::NotAvailable(const QString& what) {
  QMessageBox::information(&form_, "Kelvora", what + " is not available in this build of Kelvora.");
}

void EditCommands::ClearDataClick() { NotAvailable("Clear Data"); }
void EditCommands::ReverseDataClick() { NotAvailable("Reverse Data"); }
void EditCommands::ScaleDataClick() { NotAvailable("Scale Data"); }
void EditCommands::NormalizeGainClick() { NotAvailable("Normalize Gain"); }
void EditCommands::FadeInClick() { NotAvailable("Fade In"); }
void EditCommands::FadeOutClick() { NotAvailable("Fade Out"); }
void EditCommands::SetSampleStartClick() { NotAvailable("Set Sample Start"); }
void EditCommands::SetSampleEndClick() { NotAvailable("Set Sample End"); }
void EditCommands::SetLoopStartClick() { NotAvailable("Set Loop Start"); }
void EditCommands::SetLoopEndClick() { NotAvailable("Set Loop End"); }
void EditCommands::SetPlaybackModeClick() { NotAvailable("Set Playback Mode"); }

}  // namespace kelvora::app
