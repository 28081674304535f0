// What the batch insertion tells its user. There is no window: on POSIX every
// text goes to standard error; a Windows build shows message boxes.
#pragma once

#include "UserInterface.h"

class BatchUi final : public UserInterface {
  public:
    void ShowMessage(MessageType type, const std::string& text) override;
    // The runtime's exception report: class, module, address, message.
    void ShowError(const std::exception& error) override;
    void ShowUsage();
};
