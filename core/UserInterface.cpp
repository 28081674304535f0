#include "UserInterface.h"

namespace {

class SilentUi final : public UserInterface {
  public:
    void ShowMessage(MessageType, const std::string&) override {}
    void ShowError(const std::exception&) override {}
    bool BackupWanted() override { return false; }
    void SetStatusText(const std::string&) override {}
    void SetBusy(bool) override {}
    std::string AskText(const std::string&, const std::string&,
                        const std::string& initial) override {
        return initial;
    }
    std::optional<std::string> AskSaveFileName(const std::string&, const std::string&,
                                               const std::string&) override {
        return std::nullopt;
    }
};

SilentUi silent;
UserInterface* current = &silent;

} // namespace

UserInterface& Ui() {
    return *current;
}

UserInterface* SetUi(UserInterface* ui) {
    UserInterface* previous = current;
    current = ui != nullptr ? ui : &silent;
    return previous == &silent ? nullptr : previous;
}
