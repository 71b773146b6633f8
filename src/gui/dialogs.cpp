#include "gui/dialogs.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <system_error>
#include <utility>
#include <vector>

namespace gui {
namespace fs = std::filesystem;
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// CR LF and a lone CR become LF, so that every line break of the text shows as one break.
QString Lines(const std::string& text) {
  QString s = Q(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

std::string Trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// "*.rpp;*.txt" -> "*.rpp *.txt"; "*.*" (every file on Windows) -> "*".
std::string QtPatterns(const std::string& patterns) {
  std::string out;
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t end = patterns.find(';', start);
    if (end == std::string::npos) end = patterns.size();
    std::string p = Trimmed(patterns.substr(start, end - start));
    if (p == "*.*") p = "*";
    if (!p.empty()) out += (out.empty() ? "" : " ") + p;
    start = end + 1;
  }
  return out;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The open dialog. As in the name box of the Windows dialog, a name with a wildcard ("*.rsz")
// shows the folder's files of that pattern and keeps the dialog open: it is no file to take.
class OpenDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    const QStringList files = selectedFiles();
    const QString name = files.size() == 1 ? QFileInfo(files.front()).fileName() : QString();
    if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'))) {
      if (!selectedNameFilter().contains(name)) setNameFilter(name);
      if (auto* box = qobject_cast<QLineEdit*>(focusWidget())) box->selectAll();
      return;
    }
    QFileDialog::accept();
  }
};

}  // namespace

std::string QtFileFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start < filter.size()) {
    size_t end = filter.find('|', start);
    if (end == std::string::npos) end = filter.size();
    parts.push_back(filter.substr(start, end - start));
    start = end + 1;
  }
  std::string out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    // Qt reads the patterns from the parentheses at the end of the entry: a description that
    // shows its patterns there gets them in Qt's form, any other one gets them appended.
    std::string description = parts[i];
    const std::string shown = "(" + parts[i + 1] + ")";
    if (EndsWith(description, shown)) description.resize(description.size() - shown.size());
    else description += " ";
    if (!out.empty()) out += ";;";
    out += description + "(" + QtPatterns(parts[i + 1]) + ")";
  }
  return out;
}

std::string DrivePathOf(const fs::path& host, const platform::DriveMap& drives) {
  std::error_code ec1, ec2;
  const std::pair<fs::path, fs::path> forms[] = {
      {host.lexically_normal(), drives.root().lexically_normal()},
      {fs::weakly_canonical(host, ec1), fs::weakly_canonical(drives.root(), ec2)}};
  for (const auto& [path, root] : forms) {
    if (path.empty() || root.empty()) continue;
    const fs::path relative = path.lexically_relative(root);
    auto it = relative.begin();
    if (it == relative.end()) continue;
    const std::string drive = it->string();
    if (drive.size() != 1 || drive[0] < 'a' || drive[0] > 'z') continue;
    std::string out(1, static_cast<char>(drive[0] - 'a' + 'A'));
    out += ':';
    if (++it == relative.end()) return out + "\\";
    for (; it != relative.end(); ++it) out += "\\" + it->string();
    return out;
  }
  return host.string();
}

void QtDialogs::ShowMessage(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::NoIcon, Q(title), Lines(text), QMessageBox::Ok, parent_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::optional<std::string> QtDialogs::Ask(const std::string& prompt, const std::string& title,
                                          const std::string& defaultAnswer) {
  // QInputDialog::getText, built by hand so that the prompt is shown as plain text.
  QInputDialog dialog(parent_);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(Q(title));
  dialog.setLabelText(Lines(prompt));
  dialog.setTextValue(Q(defaultAnswer));
  if (auto* label = dialog.findChild<QLabel*>()) label->setTextFormat(Qt::PlainText);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue().toStdString();
}

std::string QtDialogs::OpenFile(const std::string& title, const std::string& initialFolder,
                                const std::string& filter, const std::string& fileName,
                                const std::string& defaultExtension) {
  const platform::DriveMap& drives = platform::Drives();
  OpenDialog dialog(parent_, Q(title), Q(drives.ToHost(initialFolder).string()),
                    Q(QtFileFilter(filter)));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);  // a typed name need not exist
  // Qt's own dialog, also where the desktop offers its native one: the native one shows no start
  // name, and a name with a wildcard typed into it ends it as a cancel before OpenDialog::accept
  // can keep it open.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setDefaultSuffix(Q(defaultExtension));
  if (!fileName.empty()) dialog.selectFile(Q(fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString chosen = dialog.selectedFiles().front();
  if (chosen.isEmpty()) return {};
  return DrivePathOf(fs::path(chosen.toStdString()), drives);
}

std::string QtDialogs::SaveFile(const std::string& title, const std::string& initialFolder,
                                const std::string& filter, const std::string& defaultExtension) {
  const platform::DriveMap& drives = platform::Drives();
  QFileDialog dialog(parent_, Q(title), Q(drives.ToHost(initialFolder).string()),
                     Q(QtFileFilter(filter)));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(Q(defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return DrivePathOf(fs::path(dialog.selectedFiles().front().toStdString()), drives);
}

void QtDialogs::SetText(const std::string& text) { QGuiApplication::clipboard()->setText(Q(text)); }

std::string QtDialogs::Text() { return QGuiApplication::clipboard()->text().toStdString(); }

}  // namespace gui
