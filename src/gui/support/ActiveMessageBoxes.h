#pragma once

#include <QString>

#include "jobs/MessageBoxes.h"

class QWidget;

namespace lockvale {

// The message boxes in force: real ones, owned by and centred over the main window, unless a test
// has installed its own. Any thread may ask; the boxes are shown on the window's thread.
MessageBoxes& ActiveMessageBoxes();
void InstallMessageBoxes(MessageBoxes* boxes);  // nullptr restores the real ones
void SetMessageBoxOwner(QWidget* owner);

// Shorthands for the window's code.
void ShowNotice(const QString& text, const QString& title,
                NoticeIcon icon = NoticeIcon::Information);
MessageAnswer AskYesNoCancel(const QString& text, const QString& title,
                             NoticeIcon icon = NoticeIcon::Question);

}  // namespace lockvale
