#include "dialogs/ListEdits.h"

#include <QListWidget>
#include <QMenu>
#include <string>

#include "dialogs/RenameInstrForm.h"
#include "protocol/Eps.h"

namespace kelvora::dialogs {

namespace {
bool Listed(const TListEntry* entry) { return entry != nullptr && !entry->IsNew; }
}  // namespace

bool RenameListedInstrument(protocol::TEps& eps, TRenameInstrForm& form,
                            const TListEntry* instrument) {
  if (!Listed(instrument)) return false;
  const int number = instrument->Number;
  const std::string& name = eps.InstrName[number];
  if (form.Execute(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()))) !=
      protocol::mrOk) {
    return false;
  }
  eps.RenameInstrument(number, form.NewName().toLatin1().toStdString());
  return true;
}

bool DeleteListedInstrument(protocol::TEps& eps, const TListEntry* instrument) {
  if (!Listed(instrument)) return false;
  eps.DeleteInstrument(instrument->Number);
  return true;
}

bool DeleteListedWaveSample(protocol::TEps& eps, const TListEntry* waveSample) {
  if (!Listed(waveSample)) return false;
  eps.DeleteWaveSample(waveSample->Instrument, waveSample->Number + 1);
  return true;
}

bool DeleteListedLayer(protocol::TEps& eps, const TListEntry* layer) {
  if (!Listed(layer)) return false;
  eps.DeleteLayer(layer->Instrument, layer->Number);
  return true;
}

void PopupListMenu(QListWidget* box, QMenu* menu, const QPoint& pos) {
  if (QListWidgetItem* item = box->itemAt(pos)) box->setCurrentItem(item);
  menu->popup(box->viewport()->mapToGlobal(pos));
}

}  // namespace kelvora::dialogs
