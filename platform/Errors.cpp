#include "platform/Errors.h"

#include "platform/MessageBox.h"

bool RunHandler(const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const AppError& error) {
    ShowMessage(error.Text());
  } catch (const std::exception& error) {
    ShowMessage(QString::fromLocal8Bit(error.what()));
  }
  return false;
}
