#include "common/errors.h"

#include <gtest/gtest.h>

#include <string>

namespace common {
namespace {

struct ErrorCase {
  int number;
  const char* text;
};

class RuntimeErrorTest : public testing::TestWithParam<ErrorCase> {};

TEST_P(RuntimeErrorTest, CarriesNumberTextAndMessage) {
  const ErrorCase& c = GetParam();
  EXPECT_EQ(ErrorText(c.number), c.text);
  RuntimeError e(c.number);
  EXPECT_EQ(e.number(), c.number);
  EXPECT_EQ(e.text(), c.text);
  EXPECT_EQ(e.Message(), "Laufzeitfehler '" + std::to_string(c.number) + "':\n\n" + c.text);
  EXPECT_NE(std::string(e.what()).find(c.text), std::string::npos) << e.what();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RuntimeErrorTest,
    testing::Values(ErrorCase{53, "Datei nicht gefunden"},
                    ErrorCase{55, "Datei bereits ge\xC3\xB6" "ffnet"},
                    ErrorCase{62, "Einlesen hinter Dateiende"},
                    ErrorCase{9, "Index au\xC3\x9F" "erhalb des g\xC3\xBCltigen Bereichs"},
                    ErrorCase{11, "Division durch Null"}, ErrorCase{6, "\xC3\x9C" "berlauf"},
                    ErrorCase{13, "Typen unvertr\xC3\xA4glich"},
                    ErrorCase{76, "Pfad nicht gefunden"}, ErrorCase{70, "Zugriff verweigert"}));

TEST(RuntimeError, MessageHasTheStandardForm) {
  EXPECT_EQ(RuntimeError(53).Message(), "Laufzeitfehler '53':\n\nDatei nicht gefunden");
}

TEST(RuntimeError, OwnText) {
  RuntimeError e(5, "eigener Text");
  EXPECT_EQ(e.number(), 5);
  EXPECT_EQ(e.text(), "eigener Text");
  EXPECT_EQ(e.Message(), "Laufzeitfehler '5':\n\neigener Text");
}

TEST(RuntimeError, RaiseThrowsTheNumber) {
  for (int number : {6, 13, 53, 62}) {
    try {
      Raise(number);
      ADD_FAILURE() << "Raise returned";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), number);
      EXPECT_EQ(e.text(), ErrorText(number));
    }
  }
}

TEST(ProgramEnd, EndProgramUnwindsWithTheStatus) {
  int after = 0;
  try {
    EndProgram(3);
    after = 1;
  } catch (const ProgramEnd& end) {
    EXPECT_EQ(end.exitStatus, 3);
  }
  EXPECT_EQ(after, 0);
  // an end is no runtime error: a trap for runtime errors does not catch it
  EXPECT_THROW(
      {
        try {
          EndProgram();
        } catch (const RuntimeError&) {
        }
      },
      ProgramEnd);
}

}  // namespace
}  // namespace common
