#pragma once

#include <string>

namespace lockvale {

enum class NoticeIcon { Information, Question, Exclamation, Critical, None };
enum class MessageButtons { Ok, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// One modal message. Texts are UTF-8; an empty title shows the program's name.
struct MessageRequest {
  std::string text;
  std::string title;
  MessageButtons buttons = MessageButtons::Ok;
  NoticeIcon icon = NoticeIcon::Information;
  bool operator==(const MessageRequest&) const = default;
};

// Every modal message of the program goes through here, so tests can answer them
// by script and check exactly what was asked. Qt-free, so jobs can ask too.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MessageAnswer Show(const MessageRequest& request) = 0;

  void Notice(std::string text, std::string title, NoticeIcon icon = NoticeIcon::Information) {
    Show({std::move(text), std::move(title), MessageButtons::Ok, icon});
  }
  MessageAnswer Ask(std::string text, std::string title, NoticeIcon icon = NoticeIcon::Question) {
    return Show({std::move(text), std::move(title), MessageButtons::YesNoCancel, icon});
  }
};

// The title of messages that have none of their own.
inline constexpr char kAppTitle[] = "Lockvale";

}  // namespace lockvale
