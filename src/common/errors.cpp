#include "common/errors.h"

namespace common {

std::string ErrorText(int number) {
  switch (number) {
    case 5: return "Unzulässiger Prozeduraufruf oder ungültiges Argument";
    case 6: return "Überlauf";
    case 7: return "Nicht genügend Speicher";
    case 9: return "Index außerhalb des gültigen Bereichs";
    case 11: return "Division durch Null";
    case 13: return "Typen unverträglich";
    case 52: return "Dateiname oder -nummer falsch";
    case 53: return "Datei nicht gefunden";
    case 54: return "Dateimodus falsch";
    case 55: return "Datei bereits geöffnet";
    case 57: return "Fehler beim Lesen/Schreiben auf dem Gerät";
    case 58: return "Datei existiert bereits";
    case 61: return "Datenträger voll";
    case 62: return "Einlesen hinter Dateiende";
    case 70: return "Zugriff verweigert";
    case 75: return "Fehler beim Zugriff auf Pfad/Datei";
    case 76: return "Pfad nicht gefunden";
    default: return "Anwendungs- oder objektdefinierter Fehler";
  }
}

RuntimeError::RuntimeError(int number) : RuntimeError(number, ErrorText(number)) {}

RuntimeError::RuntimeError(int number, std::string text)
    : std::runtime_error("Laufzeitfehler '" + std::to_string(number) + "': " + text),
      number_(number),
      text_(std::move(text)) {}

std::string RuntimeError::Message() const {
  return "Laufzeitfehler '" + std::to_string(number_) + "':\n\n" + text_;
}

void Raise(int number) { throw RuntimeError(number); }

}  // namespace common
