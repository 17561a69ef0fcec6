#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "platform/MessageBox.h"

namespace {

TEST(RunHandler, ShowsTheErrorTextAndSkipsTheRestOfTheHandler) {
  QStringList shown;
  auto previous = SetMessageBoxHandler([&](const MessageBoxRequest& r) {
    shown << r.caption + "|" + r.text;
    return QMessageBox::Ok;
  });
  bool restRan = false;
  EXPECT_FALSE(RunHandler([&] {
    throw EConvertError("'x' is not a valid integer value");
    restRan = true;
  }));
  EXPECT_FALSE(restRan);
  EXPECT_TRUE(RunHandler([] {}));
  EXPECT_FALSE(RunHandler([] { throw std::runtime_error("disk full"); }));
  EXPECT_EQ(shown, (QStringList{"Quvex RXM5620|'x' is not a valid integer value",
                                "Quvex RXM5620|disk full"}));
  SetMessageBoxHandler(previous);
}

}  // namespace
