// The dialogs and the clipboard the programs use, as interfaces: src/gui implements them with Qt,
// tests answer them from a script.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // A message box with an OK button only.
  virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
};

class InputBoxService {
 public:
  virtual ~InputBoxService() = default;
  // std::nullopt when the user cancels; an empty string when they confirm an empty answer.
  virtual std::optional<std::string> Ask(const std::string& prompt, const std::string& title,
                                         const std::string& defaultAnswer) = 0;
};

class FileDialogService {
 public:
  virtual ~FileDialogService() = default;
  // The chosen Windows-style path, or empty when cancelled; `filter` is a list of
  // description|pattern pairs like "Reaper-Dateien (*.rpp)|*.rpp". As in the open dialog without
  // option flags, a typed name is taken whether or not such a file exists. The name box starts
  // with `fileName` ("*.rsz", which shows only such files), and a name typed without an extension
  // gets `defaultExtension` ("rsz": "Alt" is taken as "Alt.rsz").
  virtual std::string OpenFile(const std::string& title, const std::string& initialFolder,
                               const std::string& filter, const std::string& fileName = "",
                               const std::string& defaultExtension = "") = 0;
  // The same for a file to be written: an existing file may be chosen, and a name typed without
  // an extension gets `defaultExtension` ("prs").
  virtual std::string SaveFile(const std::string& title, const std::string& initialFolder,
                               const std::string& filter, const std::string& defaultExtension) = 0;
};

// The file dialog of a window made without one (benches, tools): every request is cancelled.
FileDialogService& CancelledFileDialog();

// The messages of a window that is never shown: title and text on stderr.
MessageBoxService& StderrMessages();

class ClipboardService {
 public:
  virtual ~ClipboardService() = default;
  virtual void SetText(const std::string& text) = 0;
  virtual std::string Text() = 0;
};

// Scripted dialogs for tests: every call is recorded, answers come from the queues in order, and
// an empty queue answers Cancel (std::nullopt, or "" for the file dialog).
class ScriptedDialogs : public MessageBoxService,
                        public InputBoxService,
                        public FileDialogService,
                        public ClipboardService {
 public:
  struct Message {
    std::string text, title;
  };
  struct Question {
    std::string prompt, title, defaultAnswer;
  };
  struct FileRequest {
    std::string title, initialFolder, filter;
    bool save = false;  // SaveFile rather than OpenFile
    std::string defaultExtension;
    std::string fileName;  // OpenFile only
  };

  std::vector<Message> messages;
  std::vector<Question> questions;
  std::vector<FileRequest> fileRequests;

  std::deque<std::optional<std::string>> answers;  // for Ask
  std::deque<std::string> chosenFiles;             // for OpenFile and SaveFile
  std::string clipboard;                           // what SetText stored and Text returns

  void ShowMessage(const std::string& text, const std::string& title) override;
  std::optional<std::string> Ask(const std::string& prompt, const std::string& title,
                                 const std::string& defaultAnswer) override;
  std::string OpenFile(const std::string& title, const std::string& initialFolder,
                       const std::string& filter, const std::string& fileName = "",
                       const std::string& defaultExtension = "") override;
  std::string SaveFile(const std::string& title, const std::string& initialFolder,
                       const std::string& filter, const std::string& defaultExtension) override;
  void SetText(const std::string& text) override;
  std::string Text() override;

 private:
  std::string NextChosenFile();
};

}  // namespace platform
