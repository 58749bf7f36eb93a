#include "support/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace lockvale {

namespace {

QMessageBox::Icon BoxIcon(NoticeIcon icon) {
  switch (icon) {
    case NoticeIcon::Information:
      return QMessageBox::Information;
    case NoticeIcon::Question:
      return QMessageBox::Question;
    case NoticeIcon::Exclamation:
      return QMessageBox::Warning;
    case NoticeIcon::Critical:
      return QMessageBox::Critical;
    case NoticeIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

MessageAnswer Answer(QMessageBox::StandardButton button, MessageButtons buttons) {
  switch (button) {
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    default:  // Cancel, or the box closed some other way
      return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
  }
}

}  // namespace

MessageAnswer QtMessageBoxes::Show(const MessageRequest& request) {
  const bool askYesNo = request.buttons == MessageButtons::YesNoCancel;
  const std::string& title = request.title.empty() ? kAppTitle : request.title;
  QMessageBox box(
      BoxIcon(request.icon), QString::fromStdString(title), QString::fromStdString(request.text),
      askYesNo ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel : QMessageBox::Ok,
      m_Owner ? m_Owner.data() : QApplication::activeWindow());
  // Texts carry file names and error descriptions, which must not be read as markup.
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(askYesNo ? QMessageBox::Yes : QMessageBox::Ok);
  box.setEscapeButton(askYesNo ? QMessageBox::Cancel : QMessageBox::Ok);
  box.exec();
  return Answer(box.standardButton(box.clickedButton()), request.buttons);
}

}  // namespace lockvale
