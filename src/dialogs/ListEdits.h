#pragma once

#include "dialogs/ListFillers.h"

class QListWidget;
class QMenu;
class QPoint;

namespace kelvora::dialogs {

class TRenameInstrForm;

// The list commands of the sampler's lists. Each acts on the listed entry it is given
// (nothing for no entry or a "<new>" line) and returns whether it asked the sampler for a change,
// after which the dialog lists the configuration again.
bool RenameListedInstrument(protocol::TEps& eps, TRenameInstrForm& form,
                            const TListEntry* instrument);
bool DeleteListedInstrument(protocol::TEps& eps, const TListEntry* instrument);
bool DeleteListedWaveSample(protocol::TEps& eps, const TListEntry* waveSample);
bool DeleteListedLayer(protocol::TEps& eps, const TListEntry* layer);

// A right click on a list: the line under the pointer becomes the current one, then the menu opens.
void PopupListMenu(QListWidget* box, QMenu* menu, const QPoint& pos);

}  // namespace kelvora::dialogs
