#pragma once

#include <QString>
#include <QtTest>
#include <functional>
#include <sstream>

#include "ScriptedBoxes.h"
#include "support/ActiveMessageBoxes.h"

namespace lockvale::test {

// Scripted boxes that stand in for the real ones while they live. A box shown off the window's
// thread says so in its text; `whileShown` is what the user does while a box is up.
class ScriptedMessageBoxes : public ScriptedBoxes {
 public:
  ScriptedMessageBoxes() { InstallMessageBoxes(this); }
  ~ScriptedMessageBoxes() override { InstallMessageBoxes(nullptr); }

  MessageAnswer Show(const MessageRequest& request) override {
    MessageRequest shown = request;
    if (QThread::currentThread() != qApp->thread()) shown.text += " [off the window's thread]";
    if (whileShown) whileShown();
    return ScriptedBoxes::Show(shown);
  }
  std::function<void()> whileShown;
};

inline QString Describe(const std::vector<MessageRequest>& requests) {
  std::ostringstream out;
  for (const auto& r : requests)
    out << r << "\n";
  return QString::fromStdString(out.str());
}

// Compares what was asked with what was expected, both shown in full, and clears the record.
#define LV_EXPECT_ASKED(boxes, ...)                         \
  QCOMPARE(::lockvale::test::Describe((boxes).TakeAsked()), \
           ::lockvale::test::Describe({__VA_ARGS__}))

}  // namespace lockvale::test
