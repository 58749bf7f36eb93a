#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "QtTestSupport.h"
#include "mainwindow/frmMain.h"

namespace lockvale::test {

// The window as the program starts it, found and driven by object names.
class Window {
 public:
  Window() : m_Form(std::make_unique<frmMain>()) {
    m_Form->FillSizeLists();
    m_Form->optSingleFile_Click();
    m_Form->show();
    // Painting needs an exposed window, as it is for a user.
    if (!QTest::qWaitForWindowExposed(m_Form.get())) qFatal("the window was never exposed");
  }

  template <typename W = QWidget>
  W* Get(const char* name) const {
    W* widget = m_Form->findChild<W*>(QString::fromLatin1(name));
    if (!widget) qFatal("no widget named %s", name);
    return widget;
  }

  // Push buttons get a real mouse click; options and check boxes are clicked
  // through the button itself, as their hit area is only the indicator and text.
  void Click(const char* name) const {
    auto* button = Get<QAbstractButton>(name);
    if (qobject_cast<QPushButton*>(button))
      QTest::mouseClick(button, Qt::LeftButton);
    else
      button->click();
  }
  void Type(const char* name, const QString& text) const { Get<QLineEdit>(name)->setText(text); }
  void Execute() const { Click("cmdEncryptFile"); }
  QString Status() const { return m_Form->StatusText(); }
  QString Text(const char* name) const { return Get<QLineEdit>(name)->text(); }
  QProgressBar* Bar() const { return Get<QProgressBar>("pbBar"); }
  frmMain& Form() const { return *m_Form; }

 private:
  std::unique_ptr<frmMain> m_Form;
};

}  // namespace lockvale::test
