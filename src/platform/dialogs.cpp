#include "platform/dialogs.h"

#include <iostream>

namespace platform {

void ScriptedDialogs::ShowMessage(const std::string& text, const std::string& title) {
  messages.push_back({text, title});
}

std::optional<std::string> ScriptedDialogs::Ask(const std::string& prompt, const std::string& title,
                                                const std::string& defaultAnswer) {
  questions.push_back({prompt, title, defaultAnswer});
  if (answers.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

std::string ScriptedDialogs::OpenFile(const std::string& title, const std::string& initialFolder,
                                      const std::string& filter, const std::string& fileName,
                                      const std::string& defaultExtension) {
  fileRequests.push_back({title, initialFolder, filter, false, defaultExtension, fileName});
  return NextChosenFile();
}

std::string ScriptedDialogs::SaveFile(const std::string& title, const std::string& initialFolder,
                                      const std::string& filter,
                                      const std::string& defaultExtension) {
  fileRequests.push_back({title, initialFolder, filter, true, defaultExtension, ""});
  return NextChosenFile();
}

std::string ScriptedDialogs::NextChosenFile() {
  if (chosenFiles.empty()) return {};
  std::string file = std::move(chosenFiles.front());
  chosenFiles.pop_front();
  return file;
}

namespace {

class Cancelling : public FileDialogService {
 public:
  std::string OpenFile(const std::string&, const std::string&, const std::string&,
                       const std::string& = "", const std::string& = "") override {
    return {};
  }
  std::string SaveFile(const std::string&, const std::string&, const std::string&,
                       const std::string&) override {
    return {};
  }
};

}  // namespace

FileDialogService& CancelledFileDialog() {
  static Cancelling dialog;
  return dialog;
}

namespace {

class ToStderr : public MessageBoxService {
 public:
  void ShowMessage(const std::string& text, const std::string& title) override {
    std::cerr << title << ": " << text << '\n';
  }
};

}  // namespace

MessageBoxService& StderrMessages() {
  static ToStderr messages;
  return messages;
}

void ScriptedDialogs::SetText(const std::string& text) { clipboard = text; }

std::string ScriptedDialogs::Text() { return clipboard; }

}  // namespace platform
