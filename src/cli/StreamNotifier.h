#pragma once

#include <ostream>
#include <string>

namespace lockvale {

class ProgressLine;

// Prints each notice as one line, "lockvale-cli: SUBJECT: text", the text's line breaks folded
// into spaces; the subject is the file the notices are about, left out while there is none.
// A progress line on the same stream is blanked first.
class StreamNotifier {
 public:
  explicit StreamNotifier(std::ostream& out, ProgressLine* progress = nullptr)
      : m_Out(out), m_Progress(progress) {}

  void SetSubject(std::string subject) { m_Subject = std::move(subject); }
  void Tell(const std::string& text);

 private:
  std::ostream& m_Out;
  ProgressLine* m_Progress;
  std::string m_Subject;
};

}  // namespace lockvale
