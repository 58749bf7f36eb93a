#pragma once

#include <QString>

#include "util/Notifier.h"

namespace lockvale {

enum class MessageButtons { Ok, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageRequest {
  QString text;
  QString title;
  MessageButtons buttons = MessageButtons::Ok;
  NoticeIcon icon = NoticeIcon::Information;
  bool operator==(const MessageRequest&) const = default;
};

// Every modal message of the program goes through here, so tests can answer them
// by script and check exactly what was asked.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MessageAnswer Show(const MessageRequest& request) = 0;
};

// The message boxes in force: real ones unless a test has installed its own.
MessageBoxes& ActiveMessageBoxes();
void InstallMessageBoxes(MessageBoxes* boxes);  // nullptr restores the real ones

// Shorthands for the two shapes the program uses.
void ShowNotice(const QString& text, const QString& title,
                NoticeIcon icon = NoticeIcon::Information);
MessageAnswer AskYesNoCancel(const QString& text, const QString& title,
                             NoticeIcon icon = NoticeIcon::Question);

// The title of messages that have none of their own.
inline const QString kAppTitle = QStringLiteral("Lockvale");

}  // namespace lockvale
