#pragma once

#include <QString>
#include <QtTest>
#include <sstream>

#include "ScriptedBoxes.h"
#include "support/ActiveMessageBoxes.h"

namespace lockvale::test {

// Scripted boxes that stand in for the real ones while they live.
class ScriptedMessageBoxes : public ScriptedBoxes {
 public:
  ScriptedMessageBoxes() { InstallMessageBoxes(this); }
  ~ScriptedMessageBoxes() override { InstallMessageBoxes(nullptr); }
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
