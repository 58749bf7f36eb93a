// What encrypting writes, chosen in Options ▸ Format and kept in the settings: the encrypted-file
// format, the default, or the sealed one. Decrypting reads either by content, so the choice
// touches only encrypting: the names it gives, the save picker's filter and the key size, which
// the sealed format fixes. The status bar names the sealed format while it is chosen.
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QMenu>

#include "mainwindow/ListController.h"
#include "mainwindow/frmMain.h"
#include "support/RegistryHelpers.h"
#include "support/Statement.h"
#include "support/TestHooks.h"
#include "util/ProgramNames.h"

namespace lockvale {

namespace {

const std::string kFormatSetting = std::string(AppName) + "Format";
constexpr char kSealedSetting[] = "lkv", kCompatibleSetting[] = "encr";

KdfSettings g_SealingSettings;  // the default, unless a test asks for light ones

}  // namespace

void test_hooks::SetSealingSettings(const KdfSettings& settings) {
  g_SealingSettings = settings;
}

void frmMain::BuildFormatMenu() {
  mnuFormat = mnuOptions->addMenu(QStringLiteral("&Format"));
  mnuFormat->setObjectName(QStringLiteral("mnuFormat"));
  auto* formats = new QActionGroup(this);
  const auto add = [&](const char* caption, const char* name, Format format) {
    QAction* item = mnuFormat->addAction(QString::fromLatin1(caption));
    item->setObjectName(QString::fromLatin1(name));
    item->setCheckable(true);
    formats->addAction(item);
    connect(item, &QAction::triggered, this, [this, format] { mnuFormat_Click(format); });
    return item;
  };
  mnuFormatCompatible = add("Compatible (.encr)", "mnuFormatCompatible", Format::Encr);
  mnuFormatSealed = add("Sealed (.lkv)", "mnuFormatSealed", Format::Lkv);
  mnuFormatCompatible->setChecked(true);
}

void frmMain::ApplyStoredFormat() {
  const bool sealed =
      GetString(RegistryRoot::CurrentUser, MainKey, kFormatSetting) == kSealedSetting;
  ShowFormat(sealed ? Format::Lkv : Format::Encr);
}

void frmMain::mnuFormat_Click(Format format) {
  LV_GUARD("mnuFormat_Click", [&] {
    LV_STMT(SaveString(RegistryRoot::CurrentUser, MainKey, kFormatSetting,
                       format == Format::Lkv ? kSealedSetting : kCompatibleSetting));
    ShowFormat(format);
  });
}

void frmMain::ShowFormat(Format format) {
  m_List->SetWritingFormat(format);
  (format == Format::Lkv ? mnuFormatSealed : mnuFormatCompatible)->setChecked(true);
  m_FormatPanel->setText(format == Format::Lkv ? QStringLiteral("Sealed (.lkv)") : QString());
  ShowKeySize();
}

// Decrypting an encrypted file still needs the key size, whatever the format chosen.
void frmMain::ShowKeySize() {
  cboKeySize->setEnabled(m_List->WritingFormat() == Format::Encr || !m_List->Encrypting());
}

void frmMain::ReadFormat(JobRequest& request) const {
  request.format = m_List->WritingFormat();
  request.kdf = g_SealingSettings;
}

}  // namespace lockvale
