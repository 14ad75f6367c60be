#include "ui/app_icon.h"

#include <QPainter>
#include <QSvgRenderer>

namespace markwright::ui {

QPixmap AppPicture(int size) {
  QPixmap picture(size, size);
  picture.fill(Qt::transparent);
  QSvgRenderer renderer(QStringLiteral(":/markwright.svg"));
  QPainter painter(&picture);
  renderer.render(&painter);
  return picture;
}

QIcon AppIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(AppPicture(size));
  return icon;
}

}  // namespace markwright::ui
