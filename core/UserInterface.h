// The one seam through which the core asks or tells its user anything.
// The windows, the batch mode and the tests each implement it; the core
// reaches the current one through Ui(). With none installed, nothing is shown
// and every question is answered "no" or "cancel".
#pragma once

#include <exception>
#include <optional>
#include <string>

enum class MessageType { Error, Warning, Information, Plain };

// The caption of a message box of that type: "Error", "Warning",
// "Information", and for a plain message the application title.
const char* CaptionFor(MessageType type);

class UserInterface {
  public:
    virtual ~UserInterface() = default;

    // A box with one "OK" button, captioned by its type (Plain: the
    // application title, no icon).
    virtual void ShowMessage(MessageType type, const std::string& text) = 0;
    // An I/O or other error that stopped a command.
    virtual void ShowError(const std::exception& error) = 0;

    // What a user interface without a main window answers: no backup box, no
    // status line, no cursor, every question cancelled.

    // The main window's "Backup original trackfile?" box.
    virtual bool BackupWanted() { return false; }
    // The main window's status line.
    virtual void SetStatusText(const std::string&) {}
    virtual void SetBusy(bool) {}
    // A one-line text question; gives back the initial text when cancelled.
    virtual std::string AskText(const std::string& caption, const std::string& prompt,
                                const std::string& initial);
    // The save dialog; nothing when cancelled.
    virtual std::optional<std::string> AskSaveFileName(const std::string& title,
                                                       const std::string& filter,
                                                       const std::string& defaultExt);
};

// The current user interface (never null).
UserInterface& Ui();
// Installs ui as the current one (nullptr: the silent default) and gives back
// the one it replaces.
UserInterface* SetUi(UserInterface* ui);

// Shows the busy cursor for the lifetime of the object.
class BusyCursor {
  public:
    BusyCursor() { Ui().SetBusy(true); }
    ~BusyCursor() { Ui().SetBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
