// The list fillers on hand-made configurations: the lines, their entries and which line is
// selected. The browser and the upload dialog build every list with them.
#include <QListWidget>
#include <QtTest>

#include "dialogs/ListFillers.h"
#include "protocol/Eps.h"
#include "support/WindowTest.h"

using kelvora::dialogs::FillInstrumentList;
using kelvora::dialogs::FillLayerList;
using kelvora::dialogs::FillWaveSampleList;
using kelvora::dialogs::SelectedLine;
using kelvora::dialogs::SelectLayerOfWaveSample;
using kelvora::dialogs::TListEntry;
using kelvora::protocol::TEps;

namespace {

// The session's user interface is never reached by the fillers.
class SilentUi : public kelvora::protocol::SessionUi {
 public:
  void BeginWait() override {}
  void EndWait() override {}
  void UpdateCommands() override {}
  void RefreshView() override {}
  int ShowNoEps(kelvora::protocol::TNoEpsReason) override { return kelvora::protocol::mrOk; }
  void ShowInvalidWaveSample() override {}
  void ShowWaveSampleIsCopy() override {}
  bool UploadDialogActive() override { return false; }
  void KeyPlayed(int) override {}
};

QStringList Lines(const QListWidget& box) {
  QStringList lines;
  for (int k = 0; k < box.count(); ++k) lines << box.item(k)->text();
  return lines;
}

void Load(TEps& eps, int instrument, const char* name) {
  eps.InstrInUse[instrument] = true;
  eps.InstrName[instrument] = name;
  eps.FirstFreeWs[instrument] = 0;
  eps.FirstFreeLayer[instrument] = 0;
}

}  // namespace

class BrowserListsTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private:
  SilentUi ui_;
  TListEntry entries_[128]{};

 private Q_SLOTS:
  void instrumentsTwoAndFiveInEachMode() {
    TEps eps(ui_);
    Load(eps, 1, "Piano");
    Load(eps, 4, "Bass 1");
    eps.Instrument = 4;
    QListWidget box;
    FillInstrumentList(&box, entries_, eps, false);
    QCOMPARE(Lines(box), QStringList({"(2) Piano", "(5) Bass 1"}));
    QCOMPARE(entries_[1].Number, 4);
    QVERIFY(!entries_[1].IsNew);
    QCOMPARE(SelectedLine(&box), 1);  // the current instrument

    FillInstrumentList(&box, entries_, eps, true);
    QCOMPARE(Lines(box), QStringList({"(1) <new>", "(2) Piano", "(3) <new>", "(4) <new>",
                                      "(5) Bass 1", "(6) <new>", "(7) <new>", "(8) <new>"}));
    for (int k = 0; k < 8; ++k) {
      QCOMPARE(entries_[k].Number, k);
      QCOMPARE(entries_[k].Instrument, k);
      QCOMPARE(entries_[k].IsNew, k != 1 && k != 4);
    }
    QCOMPARE(SelectedLine(&box), 4);
  }

  void theFirstLineWhenTheCurrentInstrumentIsNotListed() {
    TEps eps(ui_);
    Load(eps, 2, "Strings");
    Load(eps, 6, "Drums");
    eps.Instrument = 0;  // e.g. deleted since
    QListWidget box;
    FillInstrumentList(&box, entries_, eps, false);
    QCOMPARE(SelectedLine(&box), 0);
    QCOMPARE(entries_[0].Number, 2);
  }

  void noInstrumentLoadedGivesAnEmptyListWithoutSelection() {
    TEps eps(ui_);
    QListWidget box;
    box.addItem("stale");
    FillInstrumentList(&box, entries_, eps, false);
    QCOMPARE(box.count(), 0);
    QCOMPARE(SelectedLine(&box), -1);
  }

  void wavesamplesOneTwoAndFortyAndTheCurrentOneSelected() {
    TEps eps(ui_);
    Load(eps, 3, "Pad");
    for (int w : {0, 1, 39}) eps.WsInUse[3][w] = true;
    eps.WsLayer[3][39] = 2;
    eps.Instrument = 3;
    eps.WaveSample = 40;
    QListWidget box;
    FillWaveSampleList(&box, entries_, eps, 3, false);
    QCOMPARE(Lines(box), QStringList({"WaveSample 1", "WaveSample 2", "WaveSample 40"}));
    QCOMPARE(SelectedLine(&box), 2);
    QCOMPARE(entries_[2].Number, 39);
    QCOMPARE(entries_[2].Layer, 2);
    QCOMPARE(entries_[2].Instrument, 3);

    // the same wavesample number in another instrument is not the current one
    eps.Instrument = 0;
    FillWaveSampleList(&box, entries_, eps, 3, false);
    QCOMPARE(SelectedLine(&box), 0);
  }

  void theNewWavesampleLineComesFirstAndIsAlwaysSelected() {
    TEps eps(ui_);
    Load(eps, 0, "Sine");
    eps.WsInUse[0][0] = true;
    eps.WsInUse[0][2] = true;
    eps.FirstFreeWs[0] = 1;
    eps.Instrument = 0;
    eps.WaveSample = 3;
    QListWidget box;
    FillWaveSampleList(&box, entries_, eps, 0, true);
    QCOMPARE(Lines(box), QStringList({"<new>", "WaveSample 1", "WaveSample 3"}));
    QCOMPARE(SelectedLine(&box), 0);  // although wavesample 3 is listed
    QVERIFY(entries_[0].IsNew);
    QCOMPARE(entries_[0].Number, 1);
    QCOMPARE(entries_[0].Layer, -1);
  }

  void aFullInstrumentStillOffersNewWithNumberMinusOne() {
    TEps eps(ui_);
    Load(eps, 0, "Full");
    for (int w = 0; w < 127; ++w) eps.WsInUse[0][w] = true;
    eps.FirstFreeWs[0] = -1;
    QListWidget box;
    FillWaveSampleList(&box, entries_, eps, 0, true);
    QCOMPARE(box.count(), 128);
    QCOMPARE(box.item(0)->text(), QString("<new>"));
    QCOMPARE(entries_[0].Number, -1);
    QCOMPARE(box.item(127)->text(), QString("WaveSample 127"));
  }

  void noInstrumentMeansAnEmptyWavesampleAndLayerList() {
    TEps eps(ui_);
    QListWidget box;
    box.addItem("stale");
    FillWaveSampleList(&box, entries_, eps, -1, true);
    QCOMPARE(box.count(), 0);
    box.addItem("stale");
    FillLayerList(&box, entries_, eps, -1, true);
    QCOMPARE(box.count(), 0);
    FillWaveSampleList(&box, entries_, eps, 8, false);  // no such instrument
    QCOMPARE(box.count(), 0);
  }

  void layersOneAndThreeInUseWithNew() {
    TEps eps(ui_);
    Load(eps, 2, "Layered");
    eps.LayerInUse[2][0] = true;
    eps.LayerInUse[2][2] = true;
    eps.FirstFreeLayer[2] = 1;
    eps.Instrument = 0;
    QListWidget box;
    FillLayerList(&box, entries_, eps, 2, true);
    QCOMPARE(Lines(box), QStringList({"<new>", "Layer 1", "Layer 3"}));
    QVERIFY(entries_[0].IsNew);
    QCOMPARE(entries_[0].Number, 1);  // layer 2
    QCOMPARE(SelectedLine(&box), 1);  // layer 1 by default

    // the current layer wins over layer 1
    eps.Instrument = 2;
    eps.Layer = 2;
    FillLayerList(&box, entries_, eps, 2, true);
    QCOMPARE(SelectedLine(&box), 2);
  }

  void allEightLayersInUseOfferNoNewLine() {
    TEps eps(ui_);
    Load(eps, 1, "Eight");
    for (int l = 0; l < 8; ++l) eps.LayerInUse[1][l] = true;
    eps.FirstFreeLayer[1] = -1;
    QListWidget box;
    FillLayerList(&box, entries_, eps, 1, true);
    QCOMPARE(box.count(), 8);
    QCOMPARE(box.item(0)->text(), QString("Layer 1"));
  }

  void withoutLayerOneTheNewLineIsTheDefault() {
    TEps eps(ui_);
    Load(eps, 1, "Upper");
    eps.LayerInUse[1][3] = true;
    eps.FirstFreeLayer[1] = 0;
    QListWidget box;
    FillLayerList(&box, entries_, eps, 1, true);
    QCOMPARE(Lines(box), QStringList({"<new>", "Layer 4"}));
    QCOMPARE(SelectedLine(&box), 0);
  }

  void selectingTheLayerOfAWavesample() {
    QListWidget box;
    box.addItems({"<new>", "Layer 2"});
    TListEntry layers[8] = {{0, true, 0, -1}, {1, false, 0, -1}};
    box.setCurrentRow(0);
    SelectLayerOfWaveSample(&box, layers, -1);  // the "<new>" wavesample: the first layer in use
    QCOMPARE(SelectedLine(&box), 1);
    box.setCurrentRow(0);
    SelectLayerOfWaveSample(&box, layers, 1);
    QCOMPARE(SelectedLine(&box), 1);
    box.setCurrentRow(1);
    SelectLayerOfWaveSample(&box, layers, 5);  // not listed: unchanged
    QCOMPARE(SelectedLine(&box), 1);

    QListWidget onlyNew;
    onlyNew.addItem("<new>");
    SelectLayerOfWaveSample(&onlyNew, layers, -1);
    QCOMPARE(SelectedLine(&onlyNew), 0);

    QListWidget noNew;
    noNew.addItems({"Layer 1", "Layer 2"});
    TListEntry used[8] = {{0, false, 0, -1}, {1, false, 0, -1}};
    noNew.setCurrentRow(1);
    SelectLayerOfWaveSample(&noNew, used, -1);
    QCOMPARE(SelectedLine(&noNew), 0);
  }
};

QTEST_MAIN(BrowserListsTest)
#include "browser_lists_test.moc"
