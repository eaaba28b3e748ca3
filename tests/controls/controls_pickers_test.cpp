#include <QtTest>
#include <optional>

#include "controls/ChannelComboBox.h"
#include "controls/MidiInComboBox.h"
#include "controls/MidiOutComboBox.h"
#include "support/NamedDevices.h"
#include "support/ScopedDriver.h"
#include "support/WindowTest.h"

using kelvora::controls::TChannelComboBox;
using kelvora::controls::TMidiInComboBox;
using kelvora::controls::TMidiOutComboBox;
using kelvora::testing::NamedDevices;

class PickersTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void init() {
    devices_ = NamedDevices();
    devices_.inputs = {"USB MIDI In", "Simulated EPS-16 PLUS"};
    devices_.outputs = {"USB MIDI Out", "Second Out", "Simulated EPS-16 PLUS"};
    useDevices_.emplace(devices_);
  }
  void cleanup() { useDevices_.reset(); }

  void channelLinesAndReadBack() {
    TChannelComboBox box;
    QCOMPARE(box.count(), 16);
    QCOMPARE(box.itemText(0), QString("1"));
    QCOMPARE(box.itemText(15), QString("16"));
    QCOMPARE(box.Channel(), 1);
    box.SetChannel(16);
    QCOMPARE(box.currentText(), QString("16"));
    QCOMPARE(box.Channel(), 16);
    box.SetChannel(0);
    QCOMPARE(box.Channel(), 0);
    box.SetChannel(17);
    QCOMPARE(box.Channel(), 0);
  }

  void eachDirectionListsItsOwnDevicesInOrder() {
    TMidiInComboBox in;
    TMidiOutComboBox out;
    QCOMPARE(in.count(), 2);
    QCOMPARE(in.DeviceID(), 0);
    QCOMPARE(in.itemText(1), QString("Simulated EPS-16 PLUS"));
    QCOMPARE(out.DeviceID(), 0);
    QCOMPARE(out.count(), 3);
    QCOMPARE(out.itemText(1), QString("Second Out"));
    out.SetDeviceID(2);
    QCOMPARE(out.DeviceID(), 2);
    QCOMPARE(out.currentText(), QString("Simulated EPS-16 PLUS"));
  }

  void absentDeviceSelectsNothing() {
    TMidiInComboBox in;
    in.SetDeviceID(3);
    QCOMPARE(in.DeviceID(), -1);
    in.SetDeviceID(-1);
    QCOMPARE(in.DeviceID(), -1);
    devices_.inputs.clear();
    in.Refill();
    QCOMPARE(in.count(), 0);
    QCOMPARE(in.DeviceID(), -1);
  }

  void refillListsAPluggedInDevice() {
    TMidiInComboBox in;
    QCOMPARE(in.count(), 2);
    devices_.inputs.push_back("Hot-plugged In");
    QCOMPARE(in.count(), 2);
    in.Refill();
    QCOMPARE(in.count(), 3);
    QCOMPARE(in.itemText(2), QString("Hot-plugged In"));
    QCOMPARE(in.DeviceID(), 0);
  }

 private:
  NamedDevices devices_;
  std::optional<kelvora::testing::ScopedDriver> useDevices_;
};

QTEST_MAIN(PickersTest)
#include "controls_pickers_test.moc"
