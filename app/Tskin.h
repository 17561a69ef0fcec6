#pragma once

#include <QColor>
#include <QDialog>
#include <QPushButton>

#include "platform/RadioGroup.h"

class TMainForm;

// The style window: skin, plot background and grid colours, start page.
class Tskin : public QDialog {
  Q_OBJECT
 public:
  explicit Tskin(TMainForm* mainForm);

  // The creation handler: selects the stored choices, which applies and writes them back.
  void FormCreate();

  void RadioGroup1Click();  // skin and start page groups share this handler
  void RadioGroup2Click();  // background colour
  void RadioGroup3Click();  // grid line colour

  static QColor BackgroundColour(int code);  // 0 Black, 1 White, 2 Gray
  static QColor GridColour(int code);        // 0 Blue-green, 1 Yellow, 2 Light Gray

  RadioGroup* RadioGroup1;  // "Select Skin"
  RadioGroup* RadioGroup3;  // " Scale background line color "
  RadioGroup* RadioGroup2;  // "Background color "
  RadioGroup* RadioGroup4;  // " Start the default page "
  QPushButton* Button1;     // "Close"

 private:
  TMainForm* main_;
};
