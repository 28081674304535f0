// What torvex4-cli tells its user: every message of the core goes to
// standard error as "torvex4-cli: FILE: message", FILE being the file the
// command is working on.
#pragma once

#include "UserInterface.h"

#include <map>
#include <string>

class CliUi final : public UserInterface {
  public:
    CliUi();
    ~CliUi() override;
    CliUi(const CliUi&) = delete;
    CliUi& operator=(const CliUi&) = delete;

    // The file named in the messages that follow.
    void SetFile(const std::string& file) { file_ = file; }
    // Names another file for one message text (the magic text file for the
    // compiler's refusal during an insertion, say).
    void SetFileForMessage(const std::string& text, const std::string& file) {
        fileForText_[text] = file;
    }
    void ClearFilesForMessages() { fileForText_.clear(); }
    void SetBackupWanted(bool wanted) { backup_ = wanted; }

    void ShowMessage(MessageType type, const std::string& text) override;
    // An IoError names the file it happened on; others get the current file.
    void ShowError(const std::exception& error) override;
    bool BackupWanted() override { return backup_; }
    // No status line, no cursor, and no question: a script cannot answer.

    // "torvex4-cli: FILE: text" (or "torvex4-cli: text" with no file).
    void Report(const std::string& file, const std::string& text);

  private:
    std::string file_;
    std::map<std::string, std::string> fileForText_;
    bool backup_ = false;
    UserInterface* previous_;
};
