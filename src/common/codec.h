// Windows-1252 <-> UTF-8. The system's own files are 8-bit Windows-1252 text; inside the program
// all text is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace common {

// Every byte decodes (the five unassigned ones to the C1 control of the same number).
std::string Cp1252ToUtf8(std::string_view bytes);

// Characters the code page lacks become "?".
std::string Utf8ToCp1252(std::string_view text);

// The text whose Windows-1252 form is exactly these bytes: each byte becomes the character the
// code page gives it (the five unassigned ones their C1 control), and Utf8ToCp1252 gives every
// one back. A host path put into a written line this way reaches the file with the bytes the
// file system holds, whatever characters it names (an umlaut, Cyrillic, "Ё" whose UTF-8 form
// holds a byte the code page leaves unassigned).
std::string BytesAsCp1252Text(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

// The bytes of a text for a file that holds names in any script: its Windows-1252 form when every
// character has a place there, else the UTF-8 text itself (read back by Utf8OrCp1252ToUtf8).
std::string Cp1252OrUtf8Bytes(std::string_view text);

// The number of characters of a UTF-8 text (not its bytes).
size_t CharCount(std::string_view text);

// Lower case for ASCII letters and for the Latin-1 capitals (German umlauts) in UTF-8; every other
// character stays. Windows compares file names and window titles this way.
std::string LowerCase(std::string_view text);

// UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark is dropped), else Windows-1252.
std::string Utf8OrCp1252ToUtf8(std::string_view bytes);

}  // namespace common
