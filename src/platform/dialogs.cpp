#include "platform/dialogs.h"

namespace platform {

FileDialogService& CancelledFileDialog() {
  class Cancelled : public FileDialogService {
    std::string OpenFile(const std::string&, const std::string&, const std::string&) override {
      return {};
    }
  };
  static Cancelled dialog;
  return dialog;
}

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
                                      const std::string& filter) {
  fileRequests.push_back({title, initialFolder, filter});
  if (chosenFiles.empty()) return {};
  std::string file = std::move(chosenFiles.front());
  chosenFiles.pop_front();
  return file;
}

void ScriptedDialogs::SetText(const std::string& text) { clipboard = text; }

std::string ScriptedDialogs::Text() { return clipboard; }

}  // namespace platform
