#pragma once

#include <QProxyStyle>

namespace kelvora::app {

// The menus' style: disabled items can be highlighted too, so pointing at any item shows its hint
// in the status bar, also while it cannot be chosen.
class MenuHintStyle : public QProxyStyle {
  Q_OBJECT

 public:
  MenuHintStyle();

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override;
};

}  // namespace kelvora::app
