#include "common/codec.h"

#include <cstdint>
#include <cstring>

namespace common {
namespace {

// Code points of 0x80..0x9F in Windows-1252; 0 where the code page has no character.
constexpr char32_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at i; returns false when it is not well formed.
bool DecodeOne(std::string_view s, size_t& i, char32_t& cp) {
  auto b = static_cast<unsigned char>(s[i]);
  int len;
  if (b < 0x80) {
    cp = b;
    len = 1;
  } else if ((b & 0xE0) == 0xC0 && b >= 0xC2) {
    cp = b & 0x1F;
    len = 2;
  } else if ((b & 0xF0) == 0xE0) {
    cp = b & 0x0F;
    len = 3;
  } else if ((b & 0xF8) == 0xF0 && b <= 0xF4) {
    cp = b & 0x07;
    len = 4;
  } else {
    return false;
  }
  if (i + len > s.size()) return false;
  for (int k = 1; k < len; ++k) {
    auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (c & 0x3F);
  }
  if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return false;
  i += len;
  return true;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char ch : bytes) {
    auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out += ch;
    } else if (b < 0xA0) {
      char32_t cp = kHigh[b - 0x80];
      AppendUtf8(out, cp ? cp : b);
    } else {
      AppendUtf8(out, b);
    }
  }
  return out;
}

std::string BytesAsCp1252Text(std::string_view bytes) { return Cp1252ToUtf8(bytes); }

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      out += text[i++];
      continue;
    }
    char32_t cp;
    if (!DecodeOne(text, i, cp)) {
      out += '?';
      ++i;
      continue;
    }
    if (cp >= 0xA0 && cp <= 0xFF) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k) {
      if (kHigh[k] == cp || (kHigh[k] == 0 && cp == char32_t(0x80 + k))) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    }
    out += mapped;
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  char32_t cp;
  while (i < bytes.size()) {
    // Plain ASCII, eight bytes at a time (most of a REAPER project is ASCII).
    if (i + 8 <= bytes.size()) {
      std::uint64_t word;
      std::memcpy(&word, bytes.data() + i, 8);
      if ((word & 0x8080808080808080u) == 0) {
        i += 8;
        continue;
      }
    }
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    if (!DecodeOne(bytes, i, cp)) return false;
  }
  return true;
}

std::string Cp1252OrUtf8Bytes(std::string_view text) {
  std::string bytes = Utf8ToCp1252(text);
  if (Cp1252ToUtf8(bytes) == text) return bytes;
  return std::string(text);
}

std::string LowerCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    auto b = static_cast<unsigned char>(s[i]);
    if (b == 0xC3 && i + 1 < s.size()) {
      auto n = static_cast<unsigned char>(s[i + 1]);
      if (n >= 0x80 && n <= 0x9E && n != 0x97) n = static_cast<unsigned char>(n + 0x20);
      out += static_cast<char>(b);
      out += static_cast<char>(n);
      ++i;
    } else if (b >= 'A' && b <= 'Z') {
      out += static_cast<char>(b - 'A' + 'a');
    } else {
      out += s[i];
    }
  }
  return out;
}

std::string Utf8OrCp1252ToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return std::string(bytes);
  }
  return Cp1252ToUtf8(bytes);
}

size_t CharCount(std::string_view text) {
  size_t n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

}  // namespace common
