#pragma once

#include <string>

namespace lockvale {

class frmMain;

// Encrypts or decrypts the one file named in the window, after its checks and
// questions; a job stopped by either leaves everything as it was.
class SingleFileJob {
 public:
  explicit SingleFileJob(frmMain& form) : m_Form(form) {}
  void Run();

 private:
  bool InputsAccepted();
  bool DestinationSettled();
  bool Transform();

  frmMain& m_Form;
  std::string FileName;   // source
  std::string FileName2;  // destination
  bool m_ReplaceExisting = false;
};

}  // namespace lockvale
