// The simulated system's code page services. Conversions go through glibc's iconv, and case
// through glibc's wide-character tables (towlower_l and iswupper_l in the C.UTF-8 locale), so
// every code page that iconv knows works, not only the 932 that the program is written for.
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/sim/sim.h"
#include "platform/sim/sim_control.h"

namespace {

constexpr UINT START_CODE_PAGE = 932;
constexpr const char* WIDE_NAME = "UTF-16LE";  // WCHAR as Windows lays it out
constexpr const char* CASE_LOCALE_NAME = "C.UTF-8";  // the "C" locale only knows ASCII case

constexpr int BYTE_VALUES = 256;
constexpr int NAME_SIZE = 16;
constexpr UINT DOUBLE_BYTE = 2;
constexpr UINT LONGEST_CHAR = 4;  // reported for code pages with characters beyond two bytes
constexpr BYTE DEFAULT_CHAR = '?';
constexpr int LEAD_RANGES_MAX = MAX_LEADBYTES / 2 - 1;  // leaves room for the closing pair
constexpr int SCRATCH_BYTES = 64;
constexpr size_t CONVERT_FAILED = static_cast<size_t>(-1);

struct CodePageName {
  UINT codePage;
  const char* name;
};

// Code pages that iconv knows by another name than "CP" and the number.
constexpr CodePageName ICONV_NAMES[] = {
    {65001, "UTF-8"},  {20127, "ANSI_X3.4-1968"}, {20932, "EUC-JP"}, {51949, "EUC-KR"},
    {20866, "KOI8-R"}, {21866, "KOI8-U"},
};
// The ISO 8859 parts, numbered from here.
constexpr UINT ISO_8859_BASE = 28590;
constexpr UINT ISO_8859_PARTS = 16;

struct LocaleCodePage {
  LCID locale;
  UINT codePage;
};

// The locales the program hands to the ...A functions, and the code page of each.
constexpr LocaleCodePage LOCALE_CODE_PAGES[] = {
    {1041, 932}, {2052, 936}, {1042, 949}, {1028, 950}};

UINT g_ansiCodePage = START_CODE_PAGE;

UINT ActualCodePage(UINT codePage) {
  return codePage == CP_ACP ? g_ansiCodePage : codePage;
}

// Locale 0 is the system default, whose code page is the ANSI code page of the moment.
bool CodePageOfLocale(LCID locale, UINT* codePage) {
  if (locale == 0) {
    *codePage = g_ansiCodePage;
    return true;
  }
  for (const LocaleCodePage& row : LOCALE_CODE_PAGES) {
    if (row.locale == locale) {
      *codePage = row.codePage;
      return true;
    }
  }
  return false;
}

bool Opened(iconv_t conversion) {
  return conversion != reinterpret_cast<iconv_t>(-1);
}

// From the code page to WCHARs when toWide, else back; check the result with Opened.
iconv_t OpenConversion(UINT codePage, bool toWide) {
  char name[NAME_SIZE];
  codePage = ActualCodePage(codePage);
  snprintf(name, sizeof name, "CP%u", codePage);
  if (codePage > ISO_8859_BASE && codePage <= ISO_8859_BASE + ISO_8859_PARTS) {
    snprintf(name, sizeof name, "ISO-8859-%u", codePage - ISO_8859_BASE);
  }
  for (const CodePageName& known : ICONV_NAMES) {
    if (known.codePage == codePage) snprintf(name, sizeof name, "%s", known.name);
  }
  return toWide ? iconv_open(WIDE_NAME, name) : iconv_open(name, WIDE_NAME);
}

// Converts every input byte, strictly: an invalid or incomplete sequence, or a character
// the target cannot hold, fails (errno EILSEQ or EINVAL). With no out, only counts.
// Returns the output bytes, or CONVERT_FAILED.
size_t Convert(iconv_t conversion, const void* in, size_t inBytes, void* out, size_t outBytes) {
  iconv(conversion, nullptr, nullptr, nullptr, nullptr);
  char* inPos = static_cast<char*>(const_cast<void*>(in));
  char scratch[SCRATCH_BYTES];
  size_t total = 0;
  for (;;) {
    char* outPos = out ? static_cast<char*>(out) + total : scratch;
    size_t room = out ? outBytes - total : sizeof scratch;
    size_t before = room;
    size_t result = iconv(conversion, &inPos, &inBytes, &outPos, &room);
    total += before - room;
    if (result != CONVERT_FAILED) return total;
    if (out || errno != E2BIG) return CONVERT_FAILED;
  }
}

// Whether some second byte leaves the character begun by lead still unfinished.
bool GoesOnAfterTwo(iconv_t toWide, BYTE lead) {
  WCHAR wide[LONGEST_CHAR];
  for (int second = 0; second < BYTE_VALUES; second++) {
    BYTE pair[DOUBLE_BYTE] = {lead, static_cast<BYTE>(second)};
    if (Convert(toWide, pair, sizeof pair, wide, sizeof wide) == CONVERT_FAILED &&
        errno == EINVAL) {
      return true;
    }
  }
  return false;
}

locale_t CaseLocale() {
  static locale_t caseLocale = newlocale(LC_CTYPE_MASK, CASE_LOCALE_NAME, locale_t{});
  return caseLocale;
}

int TextLength(LPCSTR text, int length) {
  return length < 0 ? static_cast<int>(strlen(text)) + 1 : length;
}

int TextLength(LPCWSTR text, int length) {
  if (length >= 0) return length;
  int count = 0;
  while (text[count] != 0) count++;
  return count + 1;
}

// The case of each byte taken as a character on its own, which is how the program asks
// (its texts for these calls hold single bytes only, lead bytes blanked). A byte that is no
// character by itself is neither upper nor changed; a capital whose lower-case form is no
// single byte keeps its byte.
bool ByteCases(LCID locale, LPCSTR src, int srcLen, bool* upper, char* lower) {
  UINT codePage;
  locale_t caseLocale = CaseLocale();
  if (!CodePageOfLocale(locale, &codePage) || !caseLocale) return false;
  iconv_t toWide = OpenConversion(codePage, true);
  iconv_t back = OpenConversion(codePage, false);
  bool opened = Opened(toWide) && Opened(back);
  for (int i = 0; opened && i < srcLen; i++) {
    WCHAR wide;
    char lowered[LONGEST_CHAR];
    upper[i] = false;
    lower[i] = src[i];
    if (Convert(toWide, &src[i], 1, &wide, sizeof wide) != sizeof wide) continue;
    upper[i] = iswupper_l(wide, caseLocale);
    wide = static_cast<WCHAR>(towlower_l(wide, caseLocale));
    if (Convert(back, &wide, sizeof wide, lowered, sizeof lowered) == 1) lower[i] = lowered[0];
  }
  if (Opened(toWide)) iconv_close(toWide);
  if (Opened(back)) iconv_close(back);
  return opened;
}

}  // namespace

void SimSetAnsiCodePage(UINT codePage) {
  g_ansiCodePage = codePage;
}

UINT GetACP() {
  return g_ansiCodePage;
}

// The byte lengths come from asking iconv about each byte: one that begins a character but
// does not end it is a lead byte. Lead-byte ranges describe double-byte code pages only, so a
// code page with longer characters (UTF-8) reports its size and no ranges.
BOOL GetCPInfo(UINT codePage, LPCPINFO info) {
  iconv_t toWide = OpenConversion(codePage, true);
  if (!Opened(toWide)) return FALSE;
  bool lead[BYTE_VALUES];
  bool anyLead = false;
  bool longer = false;
  for (int value = 0; value < BYTE_VALUES; value++) {
    BYTE byte = static_cast<BYTE>(value);
    WCHAR wide[LONGEST_CHAR];
    lead[value] = Convert(toWide, &byte, 1, wide, sizeof wide) == CONVERT_FAILED && errno == EINVAL;
    anyLead = anyLead || lead[value];
    longer = longer || (lead[value] && GoesOnAfterTwo(toWide, byte));
  }
  iconv_close(toWide);

  memset(info, 0, sizeof *info);
  info->DefaultChar[0] = DEFAULT_CHAR;
  info->MaxCharSize = !anyLead ? 1 : longer ? LONGEST_CHAR : DOUBLE_BYTE;
  if (info->MaxCharSize != DOUBLE_BYTE) return TRUE;
  int ranges = 0;
  for (int value = 0; value < BYTE_VALUES; value++) {
    if (!lead[value] || (value > 0 && lead[value - 1])) continue;
    if (ranges == LEAD_RANGES_MAX) return FALSE;
    int last = value;
    while (last + 1 < BYTE_VALUES && lead[last + 1]) last++;
    info->LeadByte[2 * ranges] = static_cast<BYTE>(value);
    info->LeadByte[2 * ranges + 1] = static_cast<BYTE>(last);
    ranges++;
  }
  return TRUE;
}

// Only the upper-case type is reported; the program asks for nothing else.
BOOL GetStringTypeA(LCID locale, DWORD infoType, LPCSTR src, int srcLen, LPWORD charType) {
  if (infoType != CT_CTYPE1) return FALSE;
  srcLen = TextLength(src, srcLen);
  bool upper[BYTE_VALUES];
  char lower[BYTE_VALUES];
  for (int done = 0; done < srcLen; done += BYTE_VALUES) {
    int count = srcLen - done < BYTE_VALUES ? srcLen - done : BYTE_VALUES;
    if (!ByteCases(locale, src + done, count, upper, lower)) return FALSE;
    for (int i = 0; i < count; i++) charType[done + i] = upper[i] ? C1_UPPER : 0;
  }
  return TRUE;
}

int LCMapStringA(LCID locale, DWORD flags, LPCSTR src, int srcLen, LPSTR dst, int dstLen) {
  if (flags != LCMAP_LOWERCASE) return 0;
  srcLen = TextLength(src, srcLen);
  if (dstLen == 0) return srcLen;
  if (dstLen < srcLen) return 0;
  bool upper[BYTE_VALUES];
  for (int done = 0; done < srcLen; done += BYTE_VALUES) {
    int count = srcLen - done < BYTE_VALUES ? srcLen - done : BYTE_VALUES;
    if (!ByteCases(locale, src + done, count, upper, dst + done)) return 0;
  }
  return srcLen;
}

// Characters beyond the first plane (surrogate pairs) keep their case.
int LCMapStringW(LCID locale, DWORD flags, LPCWSTR src, int srcLen, LPWSTR dst, int dstLen) {
  UINT codePage;
  locale_t caseLocale = CaseLocale();
  if (flags != LCMAP_LOWERCASE || !CodePageOfLocale(locale, &codePage) || !caseLocale) return 0;
  srcLen = TextLength(src, srcLen);
  if (dstLen == 0) return srcLen;
  if (dstLen < srcLen) return 0;
  for (int i = 0; i < srcLen; i++) dst[i] = static_cast<WCHAR>(towlower_l(src[i], caseLocale));
  return srcLen;
}

// Conversions are always strict, as the program asks with MB_ERR_INVALID_CHARS.
int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR src, int srcLen, LPWSTR dst, int dstLen) {
  srcLen = TextLength(src, srcLen);
  if (srcLen == 0) return 0;
  iconv_t toWide = OpenConversion(codePage, true);
  if (!Opened(toWide)) return 0;
  size_t bytes = Convert(toWide, src, srcLen, dstLen ? dst : nullptr, dstLen * sizeof *dst);
  iconv_close(toWide);
  return bytes == CONVERT_FAILED ? 0 : static_cast<int>(bytes / sizeof *dst);
}

// The simulated system has no best-fit mapping and no default character: a character that
// the code page cannot hold makes the conversion fail instead of turning into "?".
int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR src, int srcLen, LPSTR dst, int dstLen,
                        LPCSTR, LPBOOL usedDefaultChar) {
  srcLen = TextLength(src, srcLen);
  if (srcLen == 0) return 0;
  iconv_t back = OpenConversion(codePage, false);
  if (!Opened(back)) return 0;
  size_t bytes = Convert(back, src, srcLen * sizeof *src, dstLen ? dst : nullptr, dstLen);
  iconv_close(back);
  if (usedDefaultChar) *usedDefaultChar = FALSE;
  return bytes == CONVERT_FAILED ? 0 : static_cast<int>(bytes);
}
