// Character classes of single bytes, as range recognition sees them.
#include "expand/expand.h"

int CharKind(char c) {
  // Compared as signed bytes: every byte from 0x80 up is negative and so falls through to
  // CK_OTHER, lead and second bytes of double-byte characters included.
  switch (c) {
    case 'R': case 'S': case 'T':
    case 'r': case 's': case 't':
      return CK_VOLUME;
    default:
      break;
  }
  if (c >= '0' && c <= '9') return CK_DIGIT;
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return CK_LETTER;
  return CK_OTHER;
}
