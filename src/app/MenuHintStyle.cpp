#include "app/MenuHintStyle.h"

#include <QApplication>
#include <QStyleFactory>

namespace kelvora::app {

MenuHintStyle::MenuHintStyle()
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

int MenuHintStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const {
  if (hint == QStyle::SH_Menu_AllowActiveAndDisabled) return 1;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace kelvora::app
