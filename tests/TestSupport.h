// Fixtures shared by the tests: a scratch folder, a user interface that
// records what it was told, and builders for track files and magic texts.
#pragma once

#include "FileIO.h"
#include "UserInterface.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A fresh folder removed with everything in it at the end of the test.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Installs itself as the current user interface for its lifetime.
class RecordingUi : public UserInterface {
  public:
    RecordingUi();
    ~RecordingUi() override;

    void ShowMessage(MessageType type, const std::string& text) override {
        messages.emplace_back(type, text);
    }
    void ShowError(const std::exception& e) override { errors.push_back(e.what()); }
    bool BackupWanted() override { return backup; }
    void SetStatusText(const std::string& text) override { status = text; }
    void SetBusy(bool busy) override {
        busyChanges.push_back(busy);
        busyNow = busy;
    }
    std::string AskText(const std::string& caption, const std::string& prompt,
                        const std::string& initial) override;
    std::optional<std::string> AskSaveFileName(const std::string&, const std::string&,
                                               const std::string&) override {
        return saveAnswer;
    }

    std::vector<std::pair<MessageType, std::string>> messages;
    std::vector<std::string> errors;
    std::vector<bool> busyChanges;
    bool busyNow = false;
    bool backup = false;
    std::string status;
    // Answers to AskText, in order; the initial text (a cancel) once exhausted.
    std::deque<std::string> textAnswers;
    std::vector<std::string> textQuestions; // caption + "|" + prompt + "|" + initial
    std::optional<std::string> saveAnswer;

  private:
    UserInterface* previous_;
};

// The code of the IoError that f raises, 0 when it raises none.
int IoCodeOf(const std::function<void()>& f);

fileio::Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const fileio::Bytes& data);
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);

// A track file: a 32-byte header whose words at 20 and 24 are magic and next,
// body bytes from byte 32 on, and a trailing checksum (valid or not).
fileio::Bytes MakeTrack(std::uint32_t magic, std::uint32_t next, const fileio::Bytes& body,
                        bool validChecksum = true);
// The bytes of a record with the tag: fixed part filled from seed, pairs.
fileio::Bytes MakeTaggedRecord(std::uint8_t seed,
                               const std::vector<std::pair<std::uint16_t, std::uint16_t>>& bumps);
// The parts one after the other.
fileio::Bytes Joined(std::initializer_list<fileio::Bytes> parts);
// A magic text file of 139 value lines with the given values and bump lines.
std::string MakeMagicText(const std::vector<std::int32_t>& values,
                          const std::vector<std::string>& bumpLines);

// A GP4.EXE of the supported size whose table points at 17 records, record k
// carrying k % 4 bump pairs, each followed by four filler bytes. Built once.
struct SyntheticExe {
    fileio::Bytes bytes;
    std::vector<fileio::Bytes> records; // indexed 1 to 17, without tag
    std::vector<std::uint32_t> offsets; // indexed 1 to 17
};
const SyntheticExe& SyntheticGp4Exe();
// Writes SyntheticGp4Exe() to path, cut or extended (with zeros) to size.
void WriteSyntheticExe(const std::string& path, std::uint64_t size);
