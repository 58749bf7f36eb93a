#pragma once

#include <string>

class QWidget;

namespace lockvale {

// Opens addresses in the desktop's browser, unless a test has installed its own opener.
class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  virtual void Open(const std::string& address) = 0;
};

void InstallUrlOpener(UrlOpener* opener);  // nullptr restores the desktop's

// Hands the address to the desktop; the owner and the show style only matter where the desktop
// asks for them. What the desktop makes of it is not examined.
void OpenInternet(QWidget* Parent, const std::string& address, int showStyle);

}  // namespace lockvale
