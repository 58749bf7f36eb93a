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
  ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
  ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;
};

inline std::string Describe(const std::vector<MessageRequest>& requests) {
  std::ostringstream out;
  for (const auto& r : requests)
    out << r << "\n";
  return out.str();
}

// Compares what was asked with what was expected and clears the record.
#define LV_EXPECT_ASKED(boxes, ...)                                                       \
  do {                                                                                    \
    const std::vector<::lockvale::MessageRequest> expected_{__VA_ARGS__};                 \
    const auto asked_ = (boxes).TakeAsked();                                              \
    QVERIFY2(asked_ == expected_, ("asked:\n" + ::lockvale::test::Describe(asked_) +      \
                                   "expected:\n" + ::lockvale::test::Describe(expected_)) \
                                      .c_str());                                          \
  } while (0)

}  // namespace lockvale::test
