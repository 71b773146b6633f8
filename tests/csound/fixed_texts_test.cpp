// The fixed texts and their expander.
#include <gtest/gtest.h>

#include <stdexcept>

#include "csound/fixed_texts.h"

namespace csound_test {
namespace {

using csound::ExpandFixedText;
using csound::FixedTextFields;

TEST(FixedTexts, TextNumberAndConditionalLines) {
  FixedTextFields f;
  f.texts = {{"Name", "Dozudava"}};
  f.numbers = {{"Plus", 0.07}, {"Minus", -0.5}};
  f.flags = {{"Given", true}};
  const auto lines = ExpandFixedText(
      "\n a {{Name}} b\n  x = {{#Plus}}; y ={{#Minus}}|\n{{?Given}}given\n{{!Given}}not given\n"
      "trailing  \n\n",
      f);
  const std::vector<std::string> want = {" a Dozudava b", "  x =  0.07 ; y =-0.5 |", "given",
                                         "trailing  ", ""};
  EXPECT_EQ(lines, want);
}

TEST(FixedTexts, UnknownNamesAreProgrammingErrors) {
  FixedTextFields f;
  EXPECT_THROW(ExpandFixedText("\n{{Missing}}\n", f), std::logic_error);
  EXPECT_THROW(ExpandFixedText("\n{{#Missing}}\n", f), std::logic_error);
  EXPECT_THROW(ExpandFixedText("\n{{?Missing}}x\n", f), std::logic_error);
  EXPECT_THROW(ExpandFixedText("\n{{>Missing}}\n", f), std::logic_error);
  EXPECT_THROW(ExpandFixedText("no line end", f), std::logic_error);
}

FixedTextFields OrchestraFields(bool given) {
  FixedTextFields f;
  for (const char* t : {"Date", "Time", "OrchestraPath", "SourceDescription", "OriginNote"})
    f.texts[t] = "x";
  for (const char* n : {"Ltf", "Lts", "Hts", "Fom", "Ente", "Del"}) f.numbers[n] = 1;
  for (const char* g : {"FomGiven", "EnteGiven", "DelGiven"}) f.flags[g] = given;
  return f;
}

TEST(FixedTexts, OrchestraLineCounts) {
  for (bool given : {false, true}) {
    EXPECT_EQ(ExpandFixedText(csound::kSineOrchestraText, OrchestraFields(given)).size(), 116u);
    EXPECT_EQ(ExpandFixedText(csound::kFofOrchestraText, OrchestraFields(given)).size(), 204u);
  }
  EXPECT_EQ(ExpandFixedText(csound::kInstrument97Text, {}).size(), 19u);
  FixedTextFields batch;
  for (const char* t : {"BatchPath", "Date", "Time", "Base", "BatchTag"}) batch.texts[t] = "x";
  EXPECT_EQ(ExpandFixedText(csound::kRenderBatchText, batch).size(), 12u);
}

}  // namespace
}  // namespace csound_test
