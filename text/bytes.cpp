// The plain byte operations, blind to double-byte characters.
#include <cstdarg>
#include <cstring>

#include "text/text.h"

int BytesLength(const char* text) { return static_cast<int>(std::strlen(text)); }

int BytesFind(const char* text, const char* pattern) {
  const char* hit = std::strstr(text, pattern);
  return hit ? static_cast<int>(hit - text) : TEXT_NONE;
}

bool BytesBeginWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool BytesEqual(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

void BytesCopy(char* dst, const char* src) {
  std::memcpy(dst, src, std::strlen(src) + 1);
}

int BytesFormat(char* out, const char* format, ...) {
  static constexpr char CONVERSION[] = "%s";
  va_list args;
  va_start(args, format);
  int len = 0;
  for (const char* f = format; *f != 0;) {
    if (BytesBeginWith(f, CONVERSION)) {
      const char* arg = va_arg(args, const char*);
      int argLen = BytesLength(arg);
      std::memcpy(out + len, arg, argLen);
      len += argLen;
      f += sizeof CONVERSION - 1;
    } else {
      out[len++] = *f++;
    }
  }
  va_end(args);
  out[len] = 0;
  return len;
}
