#include "app/AppResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitKelvoraResources() {
  Q_INIT_RESOURCE(icons);
  Q_INIT_RESOURCE(help);
}

namespace kelvora::app {

void InitResources() {
  static const bool done = (InitKelvoraResources(), true);
  (void)done;
}

}  // namespace kelvora::app
