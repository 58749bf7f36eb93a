#include "support/frmAbout.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "support/ActiveMessageBoxes.h"
#include "support/RegistryHelpers.h"
#include "support/Statement.h"
#include "util/FileIdentity.h"
#include "util/ProgramNames.h"

namespace lockvale {

namespace {

constexpr int kIconSize = 32;

template <typename Widget>
Widget* Make(QWidget* parent, const char* name, const QString& caption = {}) {
  auto* widget = new Widget(caption, parent);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QFrame* Line(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

// The tool's registered path is trusted as it stands; a registered folder must hold the tool.
std::optional<std::string> SysInfoPath() {
  std::string path;
  if (GetKeyValue(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                  path))
    return path;
  std::string folder;
  if (!GetKeyValue(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location",
                   "MSINFO", folder))
    return std::nullopt;
  path = folder + QDir::separator().toLatin1() + "MSINFO32.EXE";
  return FileExists(path) ? std::optional(path) : std::nullopt;
}

}  // namespace

bool GetKeyValue(RegistryRoot KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                 std::string& KeyVal) {
  std::optional<StoredValue> value = ProgramSettings().Read(KeyRoot, KeyName, SubKeyRef);
  if (!value) {
    KeyVal.clear();
    return false;
  }
  // Some writers count the terminating NUL in a value's length, others do not.
  if (!value->data.empty() && value->data.back() == '\0') value->data.pop_back();
  if (value->type == StoredValue::Type::String) KeyVal = std::move(value->data);
  return true;
}

frmAbout::frmAbout(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmAbout"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("About ") + QString::fromLatin1(AppName));
  const QIcon icon = owner != nullptr ? owner->windowIcon() : QApplication::windowIcon();
  setWindowIcon(icon);
  if (owner != nullptr) setFont(owner->font());  // a window does not take its owner's font
  BuildControls(icon);
}

void frmAbout::BuildControls(const QIcon& icon) {
  auto* window = new QVBoxLayout(this);
  window->addLayout(BuildHeading(icon));
  window->addWidget(Line(this));
  window->addWidget(Make<QLabel>(
      this, "Label1",
      QStringLiteral("Visit the Lockvale web site for updates and other applications.")));
  window->addWidget(Line(this));
  window->addLayout(BuildFooter());
  window->setSizeConstraint(QLayout::SetFixedSize);
}

QLayout* frmAbout::BuildHeading(const QIcon& icon) {
  auto* imgIcon = Make<QLabel>(this, "imgIcon");
  imgIcon->setPixmap(icon.pixmap(kIconSize, kIconSize));
  auto* texts = new QVBoxLayout;
  texts->addWidget(Make<QLabel>(this, "lblTitle", QString::fromLatin1(AppName)));
  texts->addWidget(Make<QLabel>(this, "lblVersion", QString::fromLatin1(CurrentVersion)));
  texts->addWidget(
      Make<QLabel>(this, "lblDescription",
                   QStringLiteral("Will encrypt/decrypt files/text with military strength")));
  auto* heading = new QHBoxLayout;
  heading->addWidget(imgIcon, 0, Qt::AlignTop);
  heading->addLayout(texts, 1);
  return heading;
}

QLayout* frmAbout::BuildFooter() {
  auto* cmdOK = Make<QPushButton>(this, "cmdOK", QStringLiteral("OK"));
  auto* cmdSysInfo = Make<QPushButton>(this, "cmdSysInfo", QStringLiteral("&System Info..."));
  cmdOK->setDefault(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
  connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdSysInfo);
  auto* footer = new QHBoxLayout;
  footer->addWidget(Make<QLabel>(this, "lblDisclaimer",
                                 QStringLiteral("Warning: Use this program at your own risk. ")),
                    1, Qt::AlignTop);
  footer->addLayout(buttons);
  return footer;
}

void frmAbout::cmdOK_Click() {
  LV_GUARD("cmdOK_Click", [&] { close(); });
}

void frmAbout::cmdSysInfo_Click() {
  LV_GUARD("cmdSysInfo_Click", [&] { StartSysInfo(); });
}

void frmAbout::StartSysInfo() {
  const std::optional<std::string> path = SysInfoPath();
  if (!path || !QProcess::startDetached(QString::fromStdString(*path), {}))
    ActiveMessageBoxes().Notice("System Information Is Unavailable At This Time", AppName,
                                NoticeIcon::None);
}

}  // namespace lockvale
