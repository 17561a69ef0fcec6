#pragma once
// What the three-phase page may ask of the main window: two status bar texts and the tabs
// of the page control. The main window implements it; tests hand in a fake.

#include <QString>

class ThreePhaseHost {
 public:
  virtual ~ThreePhaseHost() = default;

  // Panel 1 takes the bandwidth text, panel 2 the wiring text.
  virtual void SetStatusText(int panel, const QString& text) = 0;

  // Pages 0 to 3 are Channel 1, Channel 2, Channel 3 and Three-phase Analysis.
  virtual bool IsPageVisible(int page) const = 0;
  virtual void SetPageVisible(int page, bool visible) = 0;
  virtual void SelectPage(int page) = 0;
};
