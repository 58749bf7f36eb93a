#pragma once

#include <QString>

class QPlainTextEdit;

namespace lockvale {

class frmMain;

// Encrypts the text area into grouped hexadecimal digits, or reads such digits
// back and decrypts them, in place.
class TextJob {
 public:
  explicit TextJob(frmMain& form) : m_Form(form) {}
  void Run();

 private:
  bool InputsAccepted();
  void Encrypt();
  void Decrypt();

  frmMain& m_Form;
};

// The one way results enter a text box. Any length is shown.
void DisplayString(QPlainTextEdit* TheTextBox, const QString& TheString);

}  // namespace lockvale
