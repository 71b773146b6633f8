// A converter window started on the example's settings: the project "C:\Arbeit\Gleiten.rpp"
// (track Glissando), its settings file and sample, and a scripted random source.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <memory>

#include "converter_fixture.h"

namespace envelope_test {

class ExampleProjectTest : public ConverterTest {
 public:
  ExampleProjectTest() {
    window = std::make_unique<envelope::ConverterWindow>(envelope::ConverterServices{
        clock, starter, windowSystem, dialogs, dialogs, dialogs, dialogs, random});
    const std::filesystem::path examples = std::filesystem::path(ORMILA_SOURCE_DIR) / "examples";
    root.Write("c/Arbeit/Gleiten.rpp", platform_test::ReadHostFile(examples / "Gleiten.rpp"));
    root.Write("c/Arbeit/Tesu.ini", platform_test::ReadHostFile(examples / "Tesu.ini"));
    root.Write("c/Arbeit/Klang.wav", "RIFF");
    windowSystem.windows = {{7, "Dozudava.wav - Cool Edit"}};
    window->Form_Load();
  }
  envelope::ConverterState& s() { return window->state; }
  // The draws from now on (the counts of draws and reseeds start again at 0).
  void Script(std::initializer_list<double> draws) { random = platform::ScriptedRandom(draws); }

  platform::ScriptedRandom random{0.5};
};

}  // namespace envelope_test
