#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "jobs/MessageBoxes.h"

namespace lockvale {

inline std::ostream& operator<<(std::ostream& out, const MessageRequest& r) {
  static const char* const kIcons[] = {"information", "question", "exclamation", "critical",
                                       "no icon"};
  return out << "[" << r.text << " | " << r.title << " | "
             << (r.buttons == MessageButtons::Ok ? "OK" : "YesNoCancel") << " | "
             << kIcons[static_cast<int>(r.icon)] << "]";
}

namespace test {

// A test file says `using namespace lockvale::test;` and sees the program's names too.
using namespace ::lockvale;

using Names = std::vector<std::string>;
using Requests = std::vector<MessageRequest>;

inline MessageRequest NoticeBox(std::string text, std::string title) {
  return {std::move(text), std::move(title), MessageButtons::Ok, NoticeIcon::Information};
}

inline MessageRequest QuestionBox(std::string text, std::string title,
                                  NoticeIcon icon = NoticeIcon::Question) {
  return {std::move(text), std::move(title), MessageButtons::YesNoCancel, icon};
}

// Records every message and answers the questions by a script of letters, Y, N or C each. A
// question left without an answer is answered Cancel and counted, so a test can tell it was not
// expected.
class ScriptedBoxes : public MessageBoxes {
 public:
  void Queue(std::string_view letters) { answers += letters; }

  MessageAnswer Show(const MessageRequest& request) override {
    asked.push_back(request);
    if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answered == answers.size()) ++unscripted;
    const char answer = answered < answers.size() ? answers[answered++] : 'C';
    return answer == 'Y'   ? MessageAnswer::Yes
           : answer == 'N' ? MessageAnswer::No
                           : MessageAnswer::Cancel;
  }

  std::vector<MessageRequest> TakeAsked() { return std::exchange(asked, {}); }

  std::vector<MessageRequest> asked;
  std::string answers;
  std::size_t answered = 0;
  int unscripted = 0;
};

}  // namespace test
}  // namespace lockvale
