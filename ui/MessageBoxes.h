// The program's message boxes: one "OK" button, centred on the screen, the
// caption and icon of their type; the error box that reports an error that
// stopped a command.
#pragma once

#include "UserInterface.h"

#include <QMessageBox>
#include <QString>

#include <memory>
#include <string>

std::unique_ptr<QMessageBox> MakeMessageBox(MessageType type, const std::string& text);
// The error's text with its final ".", captioned with the application title, a stop icon.
std::unique_ptr<QMessageBox> MakeErrorBox(const std::exception& error);

// The program's texts break lines with CR LF; a box shows LF.
QString BoxText(const std::string& text);
