#pragma once

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include <QSettings>
#include <QString>
#include <QtTest>
#include <functional>
#include <sstream>

#include "ScriptedBoxes.h"
#include "support/ActiveMessageBoxes.h"

namespace lockvale::test {

// Wine has no IFileOperation, through which Qt moves a file to the recycle bin.
inline bool RecycleBinMissing() {
#ifdef Q_OS_WIN
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
#else
  return false;
#endif
}

// As on a machine where the program never ran: on Linux, its settings and desktop files go to
// folders under `home`; on Windows, its values in the registry are emptied.
inline void StartWithoutSettings([[maybe_unused]] const QString& home) {
#ifdef Q_OS_WIN
  QSettings(QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\QV"), QSettings::NativeFormat).clear();
#else
  qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/config")).toUtf8());
  qputenv("XDG_DATA_HOME", (home + QStringLiteral("/data")).toUtf8());
#endif
}

// Scripted boxes that stand in for the real ones while they live. A box shown off the window's
// thread says so in its text; `whileShown` is what the user does while a box is up.
class ScriptedMessageBoxes : public ScriptedBoxes {
 public:
  ScriptedMessageBoxes() { InstallMessageBoxes(this); }
  ~ScriptedMessageBoxes() override { InstallMessageBoxes(nullptr); }

  MessageAnswer Show(const MessageRequest& request) override {
    MessageRequest shown = request;
    if (QThread::currentThread() != qApp->thread()) shown.text += " [off the window's thread]";
    if (whileShown) whileShown();
    return ScriptedBoxes::Show(shown);
  }
  std::function<void()> whileShown;
};

inline QString Describe(const std::vector<MessageRequest>& requests) {
  std::ostringstream out;
  for (const auto& r : requests)
    out << r << "\n";
  return QString::fromStdString(out.str());
}

// Compares what was asked with what was expected, both shown in full, and clears the record.
#define LV_EXPECT_ASKED(boxes, ...)                         \
  QCOMPARE(::lockvale::test::Describe((boxes).TakeAsked()), \
           ::lockvale::test::Describe({__VA_ARGS__}))

}  // namespace lockvale::test
