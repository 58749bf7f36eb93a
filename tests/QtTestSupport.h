#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <utility>
#include <vector>

#include "support/MessageBoxes.h"

namespace lockvale::test {

inline const char* IconName(NoticeIcon icon) {
  switch (icon) {
    case NoticeIcon::Information:
      return "information";
    case NoticeIcon::Question:
      return "question";
    case NoticeIcon::Exclamation:
      return "exclamation";
    case NoticeIcon::Critical:
      return "critical";
  }
  return "?";
}

inline QString Describe(const MessageRequest& r) {
  return QStringLiteral("[%1 | %2 | %3 | %4]")
      .arg(r.text, r.title,
           r.buttons == MessageButtons::Ok ? QStringLiteral("OK") : QStringLiteral("YesNoCancel"),
           QString::fromLatin1(IconName(r.icon)));
}

inline QString Describe(const std::vector<MessageRequest>& requests) {
  QStringList parts;
  for (const auto& r : requests)
    parts << Describe(r);
  return parts.join(QStringLiteral("\n"));
}

inline MessageRequest Notice(const QString& text, const QString& title) {
  return {text, title, MessageButtons::Ok, NoticeIcon::Information};
}

inline MessageRequest Question(const QString& text, const QString& title,
                               NoticeIcon icon = NoticeIcon::Question) {
  return {text, title, MessageButtons::YesNoCancel, icon};
}

// Stands in for the real message boxes while it lives: records every message and
// answers questions from a queue. A question with no answer queued is answered
// Cancel and counted, so a test can tell it was not expected.
class ScriptedMessageBoxes : public MessageBoxes {
 public:
  ScriptedMessageBoxes() { InstallMessageBoxes(this); }
  ~ScriptedMessageBoxes() override { InstallMessageBoxes(nullptr); }
  ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
  ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

  void Queue(MessageAnswer answer) { answers.push_back(answer); }

  MessageAnswer Show(const MessageRequest& request) override {
    asked.push_back(request);
    if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers.empty()) {
      ++unscripted;
      return MessageAnswer::Cancel;
    }
    MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<MessageRequest> TakeAsked() { return std::exchange(asked, {}); }

  std::vector<MessageRequest> asked;
  std::deque<MessageAnswer> answers;
  int unscripted = 0;
};

// Compares what was asked with what was expected and clears the record.
#define LV_EXPECT_ASKED(boxes, ...)                                                             \
  do {                                                                                          \
    const std::vector<::lockvale::MessageRequest> expected_{__VA_ARGS__};                       \
    const auto asked_ = (boxes).TakeAsked();                                                    \
    QVERIFY2(asked_ == expected_, qPrintable(QStringLiteral("asked:\n%1\nexpected:\n%2")        \
                                                 .arg(::lockvale::test::Describe(asked_),       \
                                                      ::lockvale::test::Describe(expected_)))); \
  } while (0)

}  // namespace lockvale::test
