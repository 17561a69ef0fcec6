#include "app/TVForm.h"

#include "app/Pictures.h"

namespace {
QLabel* LineLabel(QWidget* parent, const QString& text, int y) {
  auto* label = new QLabel(text, parent);
  label->move(8, y);
  label->adjustSize();
  return label;
}
}  // namespace

TVForm::TVForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint) {
  setObjectName("TVForm");
  setWindowTitle("Version");
  setFixedSize(402, 150);
  Image1 = new QLabel(this);
  Image1->setGeometry(8, 8, 121, 33);
  Image1->setPixmap(LogoPicture(121, 33));
  Label1 = LineLabel(this, "Version Title : RXM5620 Applications", 56);
  Label2 = LineLabel(this, "Date of publication: 2012_08_01", 72);
  Label3 = LineLabel(this, "Version Number : RXM5620_AppPC_V03", 88);
  Label4 = LineLabel(this, QString("Wedsite: ") + kMakerWebsite, 112);
  Label5 = LineLabel(this, kMakerName, 128);
  Button1 = new QPushButton("Enter", this);
  Button1->setGeometry(312, 88, 75, 25);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}
