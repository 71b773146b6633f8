// the render batch.
#include <gtest/gtest.h>

#include "writer_fixture.h"

namespace csound_test {
namespace {

class BatchTest : public WriterTest {
 protected:
  std::string Batch(const std::string& batchPath) {
    tonelist::ToneListState s(1000);
    auto c = Context(s, batchPath);
    return Write(csound::kBatchFile, [&] { csound::WriteRenderBatch(c); });
  }
};

TEST_F(BatchTest, Cs06b) {
  const std::string bytes = Batch("C:\\Arbeit\\cs06b.bat");
  ExpectGolden("cs06b.bat", bytes);
  const std::vector<std::string> want = {
      " REM C:\\Arbeit\\cs06b.bat",
      " REM Geschrieben am 24.05.2024, 14:03:07",
      " REM Genauere Infos siehe Clip 'Dozudava' im NoteTab-Editor!",
      "",
      "",
      " set PATH=%PATH%;C:\\CSOUND\\bin",
      " set SFDIR=C:\\Arbeit",
      "",
      " csound -o C:\\Arbeit\\Dozudava.wav -W -g C:\\Arbeit\\Dozudava.orc C:\\Arbeit\\Dozudava.sco",
      " \"c:\\cool\\COOL96.exe\" \"C:\\Arbeit\\Dozudava.wav\"",
      "",
      " [c:\\arbeit\\cs06b.bat]",
  };
  EXPECT_EQ(Lines(bytes), want);
}

TEST_F(BatchTest, Cs06b3NamesItselfFirstAndCs06bLast) {
  const std::string bytes = Batch("C:\\Arbeit\\cs06b3.bat");
  ExpectGolden("cs06b3.bat", bytes);
  auto lines = Lines(bytes);
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], " REM C:\\Arbeit\\cs06b3.bat");
  EXPECT_EQ(lines[11], " [c:\\arbeit\\cs06b.bat]");
}

}  // namespace
}  // namespace csound_test
