// POSIX systems have no ANSI code page: the locale's character set stands in for it.
#include "cli/system_code_page.h"

#include <langinfo.h>
#include <locale.h>
#include <signal.h>
#include <strings.h>

namespace {

struct CharsetCodePage {
  const char* charset;
  UINT codePage;
};

// The character sets that the C libraries name in CODESET, with their Windows numbers.
constexpr CharsetCodePage CHARSET_CODE_PAGES[] = {
    {"UTF-8", 65001},       {"UTF8", 65001},       {"ANSI_X3.4-1968", 20127},
    {"US-ASCII", 20127},    {"SHIFT_JIS", 932},    {"SHIFT-JIS", 932},
    {"SJIS", 932},          {"CP932", 932},        {"WINDOWS-31J", 932},
    {"EUC-JP", 20932},      {"GBK", 936},          {"EUC-KR", 51949},
    {"BIG5", 950},          {"CP1250", 1250},      {"CP1251", 1251},
    {"CP1252", 1252},       {"CP1253", 1253},      {"CP1254", 1254},
    {"CP1255", 1255},       {"CP1256", 1256},      {"CP1257", 1257},
    {"CP1258", 1258},       {"ISO-8859-1", 28591}, {"ISO-8859-2", 28592},
    {"ISO-8859-3", 28593},  {"ISO-8859-4", 28594}, {"ISO-8859-5", 28595},
    {"ISO-8859-6", 28596},  {"ISO-8859-7", 28597}, {"ISO-8859-8", 28598},
    {"ISO-8859-9", 28599},  {"ISO-8859-13", 28603}, {"ISO-8859-15", 28605},
    {"KOI8-R", 20866},      {"KOI8-U", 21866},
};

}  // namespace

void PrepareStdio() { signal(SIGPIPE, SIG_IGN); }

UINT SystemCodePage(const char** charset) {
  setlocale(LC_ALL, "");
  *charset = nl_langinfo(CODESET);
  for (const CharsetCodePage& known : CHARSET_CODE_PAGES) {
    if (strcasecmp(*charset, known.charset) == 0) return known.codePage;
  }
  return 0;
}
