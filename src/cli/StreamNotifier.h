#pragma once

#include <ostream>
#include <string>

#include "util/Notifier.h"

namespace lockvale {

class ProgressLine;

// Prints each notice as one line, "lockvale-cli: SUBJECT: text", the text's line breaks folded
// into spaces; the subject is the file the notices are about, left out while there is none.
// A progress line on the same stream is blanked first.
class StreamNotifier : public Notifier {
 public:
  explicit StreamNotifier(std::ostream& out, ProgressLine* progress = nullptr)
      : m_Out(out), m_Progress(progress) {}

  void SetSubject(std::string subject) { m_Subject = std::move(subject); }
  void Notify(const std::string& text, const std::string& title, NoticeIcon icon) override;
  // A notice of the tool's own.
  void Tell(const std::string& text) { Notify(text, {}, NoticeIcon::Critical); }

 private:
  std::ostream& m_Out;
  ProgressLine* m_Progress;
  std::string m_Subject;
};

}  // namespace lockvale
