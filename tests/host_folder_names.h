// Names a folder on the host may have, for the tests of host paths: a plain one, and ones with an
// umlaut, "ß", a blank or Cyrillic ("Ё" is D0 81 in UTF-8, and 81 has no character in
// Windows-1252).
#pragma once

namespace testing_support {

inline constexpr const char* kHostFolderNames[] = {"ormila", "Klänge x", "Müller Stück", "jürgen",
                                                   "Звуки Ёлка"};

}  // namespace testing_support
