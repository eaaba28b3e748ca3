#include "dialogs/ListFillers.h"

#include <QListWidget>

#include "protocol/Eps.h"

namespace kelvora::dialogs {

namespace {

const QString kNewText = QStringLiteral("<new>");

bool IsInstrument(int instrument) { return instrument >= 0 && instrument < protocol::kInstruments; }

void SelectLine(QListWidget* box, int line) {
  if (box->count() > 0) box->setCurrentRow(line);
}

QString InstrumentText(const protocol::TEps& eps, int instrument) {
  const QString number = QStringLiteral("(%1) ").arg(instrument + 1);
  if (!eps.InstrInUse[instrument]) return number + kNewText;
  // The sampler's names are 8-bit characters.
  const std::string& name = eps.InstrName[instrument];
  return number + QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

void FillInstrumentList(QListWidget* box, TListEntry* entries, const protocol::TEps& eps,
                        bool offerNew) {
  box->clear();
  int k = 0;
  int selected = 0;
  for (int i = 0; i < protocol::kInstruments; ++i) {
    if (!eps.InstrInUse[i] && !offerNew) continue;
    box->addItem(InstrumentText(eps, i));
    entries[k] = TListEntry{i, !eps.InstrInUse[i], i, -1};
    if (i == eps.Instrument) selected = k;
    ++k;
  }
  SelectLine(box, selected);
}

void FillWaveSampleList(QListWidget* box, TListEntry* entries, const protocol::TEps& eps,
                        int instrument, bool offerNew) {
  box->clear();
  if (!IsInstrument(instrument)) return;
  int k = 0;
  int selected = 0;
  if (offerNew) {
    // Offered even when the instrument is full; its Number is then -1.
    box->addItem(kNewText);
    entries[k++] = TListEntry{eps.FirstFreeWs[instrument], true, instrument, -1};
  }
  for (int w = 0; w < protocol::kWaveSamples; ++w) {
    if (!eps.WsInUse[instrument][w]) continue;
    box->addItem(QStringLiteral("WaveSample %1").arg(w + 1));
    entries[k] = TListEntry{w, false, instrument, eps.WsLayer[instrument][w]};
    if (instrument == eps.Instrument && w + 1 == eps.WaveSample) selected = k;
    ++k;
  }
  SelectLine(box, offerNew ? 0 : selected);
}

void FillLayerList(QListWidget* box, TListEntry* entries, const protocol::TEps& eps, int instrument,
                   bool offerNew) {
  box->clear();
  if (!IsInstrument(instrument)) return;
  int k = 0;
  int selected = 0;
  if (offerNew && eps.FirstFreeLayer[instrument] >= 0) {
    box->addItem(kNewText);
    entries[k++] = TListEntry{eps.FirstFreeLayer[instrument], true, instrument, -1};
  }
  for (int l = 0; l < protocol::kLayers; ++l) {
    if (!eps.LayerInUse[instrument][l]) continue;
    box->addItem(QStringLiteral("Layer %1").arg(l + 1));
    entries[k] = TListEntry{l, false, instrument, -1};
    if (l == 0) selected = k;
    // The current layer wins over layer 1.
    if (instrument == eps.Instrument && l == eps.Layer) selected = k;
    ++k;
  }
  SelectLine(box, selected);
}

void SelectLayerOfWaveSample(QListWidget* box, const TListEntry* entries, int layer) {
  if (layer >= 0 && layer < protocol::kLayers) {
    for (int k = 0; k < box->count(); ++k) {
      if (entries[k].Number == layer) {
        box->setCurrentRow(k);
        return;
      }
    }
    return;  // not listed: the selection stays
  }
  if (box->count() == 0) return;
  if (box->count() == 1) {
    box->setCurrentRow(0);
  } else {
    box->setCurrentRow(entries[0].IsNew ? 1 : 0);
  }
}

int SelectedLine(const QListWidget* box) {
  const QList<QListWidgetItem*> items = box->selectedItems();
  return items.isEmpty() ? -1 : box->row(items.first());
}

}  // namespace kelvora::dialogs
