// The Qt implementations of the dialog and clipboard services.
#pragma once

#include <filesystem>
#include <string>

#include "platform/dialogs.h"
#include "platform/drive_map.h"

class QWidget;

namespace gui {

// Message box, input box, open- and save-file dialogs and clipboard, shown over `parent` (may be nullptr).
class QtDialogs : public platform::MessageBoxService,
                  public platform::InputBoxService,
                  public platform::FileDialogService,
                  public platform::ClipboardService {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}

  void ShowMessage(const std::string& text, const std::string& title) override;
  std::optional<std::string> Ask(const std::string& prompt, const std::string& title,
                                 const std::string& defaultAnswer) override;
  // The initial folder is mapped through the drive map; the chosen file is given back as a
  // Windows drive path when it lies under the drive root. A name with a wildcard ("*.rsz", the
  // name the box may start with) shows the folder's files of that pattern instead of being taken.
  std::string OpenFile(const std::string& title, const std::string& initialFolder,
                       const std::string& filter, const std::string& fileName = "",
                       const std::string& defaultExtension = "") override;
  // As OpenFile for a file to be written; an existing file is chosen without a question.
  std::string SaveFile(const std::string& title, const std::string& initialFolder,
                       const std::string& filter, const std::string& defaultExtension) override;
  void SetText(const std::string& text) override;
  std::string Text() override;

 private:
  QWidget* parent_;
};

// The Windows drive path of a host path under the drive root (<root>/c/Arbeit/x.rpp ->
// "C:\Arbeit\x.rpp"); any other path as it is.
std::string DrivePathOf(const std::filesystem::path& host, const platform::DriveMap& drives);

// A filter of description|pattern pairs ("Reaper-Dateien (*.rpp)|*.rpp|Alle Dateien|*.*") in Qt's
// form ("Reaper-Dateien (*.rpp);;Alle Dateien (*)"); "*.*" matches every file, as on Windows.
std::string QtFileFilter(const std::string& filter);

}  // namespace gui
