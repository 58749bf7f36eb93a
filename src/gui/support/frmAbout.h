#pragma once

#include <QDialog>
#include <string>

#include "util/SettingsStore.h"

namespace lockvale {

// Reads one stored value as text into KeyVal. A string gives its text, less one trailing NUL; a
// value of another type leaves KeyVal as it was. False, with KeyVal empty, when it is absent.
bool GetKeyValue(RegistryRoot KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                 std::string& KeyVal);

// The About window: the program's name, version and notices, and a button that starts the
// machine's system-information tool. Not modal and deleted once closed; the caller shows it.
// Its widgets' object names: imgIcon, lblTitle, lblVersion, lblDescription, lblDisclaimer,
// Label1, cmdOK and cmdSysInfo.
class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* owner);

  void cmdOK_Click();
  void cmdSysInfo_Click();
  void StartSysInfo();

 private:
  void BuildControls(const QIcon& icon);
  QLayout* BuildHeading(const QIcon& icon);
  QLayout* BuildFooter();
};

}  // namespace lockvale
