#pragma once

#include "dialogs/ListFillers.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;

namespace kelvora::dialogs {

// The controls of the sampler's lists by the names the dialogs publish: the browser and the
// upload dialog hold a copy of these pointers to the lists they show. Without a layer list the
// layer members are null.
struct SamplerListControls {
  QLabel* InstrumentLabel = nullptr;
  QLabel* WavesampleLabel = nullptr;
  QLabel* Label2 = nullptr;  // the layer list's label
  QListWidget* InstrumentListBox = nullptr;
  QListWidget* WaveSampleListBox = nullptr;
  QListWidget* LayerListBox = nullptr;
  QMenu* InstrumentPopupMenu = nullptr;
  QAction* RenameMenuItem = nullptr;
  QAction* DeleteInsMenuItem = nullptr;
  QAction* RefreshInsMenuItem = nullptr;
  QMenu* WaveSamplePopupMenu = nullptr;
  QAction* DeleteWsMenuItem = nullptr;
  QAction* RefreshWsMenuItem = nullptr;
  QMenu* LayerPopupMenu = nullptr;
  QAction* DeleteLayMenuItem = nullptr;
  QAction* RefreshLayMenuItem = nullptr;
  // Entry k describes line k of its list (entries past the last line are stale).
  const TListEntry* InstrumentEntries = nullptr;
  const TListEntry* WaveSampleEntries = nullptr;
  const TListEntry* LayerEntries = nullptr;
};

}  // namespace kelvora::dialogs
