#include "app/TLogoForm.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/Pictures.h"

namespace {
QLabel* OverlayLabel(QWidget* parent, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->setAttribute(Qt::WA_TranslucentBackground);
  // The splash keeps its own colours whatever the skin says.
  label->setStyleSheet("color: #10233a; background: transparent;");
  label->move(x, y);
  label->adjustSize();
  return label;
}
}  // namespace

TLogoForm::TLogoForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName("TLogoForm");
  setFixedSize(514, 315);
  Image1 = new QLabel(this);
  Image1->setGeometry(0, 0, 513, 313);
  Image1->setPixmap(SplashPicture());
  Label1 = OverlayLabel(this, kMakerName, 16, 228);
  Label2 = OverlayLabel(this, "RXM5620 Applications", 16, 248);
  Label3 = OverlayLabel(this, "Date of publication: 2012_08_01 ", 16, 264);
  Label4 = OverlayLabel(this, "Build version: RXM5620_AppPC_V03  ", 16, 280);
  Label5 = OverlayLabel(this, "Is starting the software .........      ", 312, 264);
  QFont small = Label5->font();
  small.setPixelSize(13);
  Label5->setFont(small);
  Label5->setStyleSheet("color: teal; background: transparent;");
  Label5->adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());
  }
}
