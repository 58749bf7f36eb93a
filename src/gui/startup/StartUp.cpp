#include "startup/StartUp.h"

#include <QAction>
#include <QUrl>
#include <memory>
#include <vector>

#include "startup/UpdateHost.h"
#include "startup/clsHTTP.h"
#include "support/ActiveMessageBoxes.h"
#include "support/OpenInternet.h"
#include "support/RegistryHelpers.h"
#include "util/ProgramNames.h"
#include "util/StringHelpers.h"

namespace lockvale {

namespace {

constexpr int kShowNormal = 5;
constexpr std::size_t kLongestAddress = 2048;

// The number a text starts with, 0 when it starts with none: "1.10" reads as 1.1.
double LeadingNumber(const std::string& text) {
  std::size_t at = text.find_first_not_of(" \t");
  if (at == std::string::npos) return 0;
  const std::size_t start = at;
  if (text[at] == '+' || text[at] == '-') ++at;
  bool point = false;
  for (; at < text.size(); ++at) {
    if (text[at] == '.' && !point)
      point = true;
    else if (text[at] < '0' || text[at] > '9')
      break;
  }
  try {
    return std::stod(text.substr(start, at - start));
  } catch (const std::exception&) {
    return 0;
  }
}

// The fields of the version file's first line; missing ones are empty.
std::vector<std::string> VersionFields(const std::string& file) {
  std::vector<std::string> DataArray;
  SplitString(file.substr(0, file.find_first_of("\r\n")), ',', DataArray);
  DataArray.resize(std::max<std::size_t>(DataArray.size(), 3));
  return DataArray;
}

// The page's address comes from the network, so only a web address is ever opened.
bool IsWebAddress(const std::string& address) {
  const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
  return url.isValid() && !url.host().isEmpty() &&
         (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

clsHTTP& CheckVersion() {
  static std::unique_ptr<clsHTTP> client = std::make_unique<clsHTTP>();
  return *client;
}

std::string FetchVersionFile() {
  const std::string host = UpdateHost();
  std::string file;
  if (!host.empty()) CheckVersion().GetFile(UpdateURL(host), "", file, true, "");
  return file;
}

// False when the offered version must be downloaded.
bool OfferNewerVersion(QWidget* Parent) {
  const std::vector<std::string> DataArray = VersionFields(FetchVersionFile());
  if (LeadingNumber(DataArray[0]) <= LeadingNumber(CurrentVersion) ||
      DataArray[1].size() > kLongestAddress)
    return true;
  const MessageAnswer answer = ActiveMessageBoxes().Ask(
      "New version is available at: " + DataArray[1] + ". Do you wish to go there now?",
      "New Version", NoticeIcon::Information);
  if (answer == MessageAnswer::Yes && IsWebAddress(DataArray[1]))
    OpenInternet(Parent, DataArray[1], kShowNormal);
  return DataArray[2] != "must-download";
}

bool AcceptAgreement() {
  const std::string valueName = std::string(AppName) + "FirstTime";
  if (!GetString(RegistryRoot::CurrentUser, MainKey, valueName).empty()) return true;
  const MessageAnswer answer = ActiveMessageBoxes().Ask(
      "Use this application at your own risk. Tarrowby is not responsible for any loss of data "
      "or any data corruption. Do you agree to this?",
      "Agreement", NoticeIcon::Question);
  if (answer != MessageAnswer::Yes) return false;
  SaveString(RegistryRoot::CurrentUser, MainKey, valueName, "No");
  return true;
}

}  // namespace

bool StartUp(QAction& mnuAboutApp, QWidget* Parent) {
  mnuAboutApp.setText(QStringLiteral("About ") + QLatin1String(AppName));
  return OfferNewerVersion(Parent) && AcceptAgreement();
}

}  // namespace lockvale
