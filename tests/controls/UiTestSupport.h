#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "midi/DeviceList.h"
#include "midi/MidiDriver.h"
#include "protocol/SessionUi.h"
#include "support/TempFolder.h"

namespace kelvora::testing {

// Device lists with fixed names; nothing opens on it.
class NamedDevices : public midi::MidiDriver {
 public:
  std::vector<std::string> inputs;
  std::vector<std::string> outputs;

  int InputCount() override { return static_cast<int>(inputs.size()); }
  std::string InputName(int device) override { return inputs.at(device); }
  int OutputCount() override { return static_cast<int>(outputs.size()); }
  std::string OutputName(int device) override { return outputs.at(device); }
  int OpenOutput(int, int) override { return 2; }
  void CloseOutput(int) override {}
  void SendLong(int, const uint8_t*, size_t) override {}
  int SendShort(int, uint32_t) override { return 0; }
  int OpenInput(int, int) override { return 2; }
  void StartInput(int) override {}
  void StopInput(int) override {}
  void ResetInput(int) override {}
  void CloseInput(int) override {}
};

// A device list over real backends that counts every open and close, so a test sees which port
// was reopened on which device.
class CountingDriver : public midi::DeviceList {
 public:
  explicit CountingDriver(std::vector<midi::MidiDriver*> backends) : DeviceList(backends) {}

  int OpenOutput(int device, int slot) override;
  void CloseOutput(int slot) override;
  int OpenInput(int device, int slot) override;
  void CloseInput(int slot) override;

  std::vector<int> inputOpens, outputOpens;  // device numbers
  int inputCloses = 0, outputCloses = 0;
  void Reset();
};

// A session user interface that answers every question with OK.
class QuietUi : public protocol::SessionUi {
 public:
  void BeginWait() override {}
  void EndWait() override {}
  void UpdateCommands() override {}
  void RefreshView() override {}
  int ShowNoEps(protocol::TNoEpsReason reason) override {
    reasons.push_back(reason);
    return protocol::mrOk;
  }
  void ShowInvalidWaveSample() override {}
  void ShowWaveSampleIsCopy() override {}
  bool UploadDialogActive() override { return false; }
  void KeyPlayed(int) override {}

  std::vector<protocol::TNoEpsReason> reasons;
};

// Runs `action` once a modal window of type T is up (it is given that window). The dialogs of
// the program run their own event loop, so tests act on them from inside it.
template <class T>
void WhenModal(std::function<void(T*)> action) {
  auto* timer = new QTimer(qApp);
  auto started = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, action, started] {
    auto* window = dynamic_cast<T*>(QApplication::activeModalWidget());
    if ((window && window->isVisible()) || ++*started > 2000) {
      timer->stop();
      timer->deleteLater();
      if (window) action(window);
    }
  });
  timer->start(5);
}

}  // namespace kelvora::testing
