// The code page through which keys and texts become bytes, chosen in the Options menu and
// kept in the settings. LOCKVALE_CODEPAGE still overrides the choice; the status bar names
// the code page whenever it is not the system's.
#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "mainwindow/frmMain.h"
#include "support/RegistryHelpers.h"
#include "support/Statement.h"
#include "util/CodePage.h"
#include "util/ProgramNames.h"

namespace lockvale {

namespace {

const std::string kCodePageSetting = std::string(AppName) + "CodePage";

}  // namespace

void frmMain::BuildCodePageMenu() {
  mnuOptions = menuBar()->addMenu(QStringLiteral("&Options"));
  mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
  mnuCodePage = mnuOptions->addMenu(QStringLiteral("Code &Page"));
  mnuCodePage->setObjectName(QStringLiteral("mnuCodePage"));
  m_CodePages = new QActionGroup(this);
  const auto add = [this](const QString& caption, const std::string& name) {
    QAction* item = mnuCodePage->addAction(caption);
    item->setObjectName(QStringLiteral("mnuCodePage_") + QString::fromStdString(name));
    item->setCheckable(true);
    item->setData(QString::fromStdString(name));
    m_CodePages->addAction(item);
    connect(item, &QAction::triggered, this, [this, name] { mnuCodePage_Click(name); });
  };
  add(QStringLiteral("System (%1)").arg(QString::fromStdString(CodePage::SystemName())), "");
  mnuCodePage->addSeparator();
  for (const std::string& name : CodePage::WindowsCodePages())
    add(QString::fromStdString(name), name);
}

void frmMain::ApplyStoredCodePage() {
  CodePage::Choose(GetString(RegistryRoot::CurrentUser, MainKey, kCodePageSetting));
  ShowCodePage();
}

void frmMain::mnuCodePage_Click(const std::string& name) {
  LV_GUARD("mnuCodePage_Click", [&] {
    LV_STMT(SaveString(RegistryRoot::CurrentUser, MainKey, kCodePageSetting, name));
    CodePage::Choose(name);
    ShowCodePage();
  });
}

// Named as asked for, so that one the platform does not know shows too.
void frmMain::ShowCodePage() {
  const bool fixed = CodePage::SetByEnvironment();
  const std::string name = CodePage::NameInForce();
  for (QAction* item : m_CodePages->actions())
    item->setChecked(item->data().toString().toStdString() == (fixed ? name : CodePage::Chosen()));
  mnuCodePage->setEnabled(!fixed);
  const bool system = name == CodePage::SystemName();
  m_CodePagePanel->setText(
      system ? QString() : QStringLiteral("Code page: %1").arg(QString::fromStdString(name)));
  m_CodePagePanel->setToolTip(fixed ? QStringLiteral("Set by LOCKVALE_CODEPAGE") : QString());
}

}  // namespace lockvale
