// quenlix-expand: runs Quenlix's expander on one text and prints the list that Quenlix would
// put on the clipboard, so that scripts and downloaders can use the engine.
#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "cli/clip_sink.h"
#include "cli/system_code_page.h"
#include "expand/expand.h"
#include "text/text.h"
#include "watch/watch.h"

namespace {

constexpr const char PROGRAM[] = "quenlix-expand";

constexpr int EXIT_LISTED = 0;       // the list is on standard output
constexpr int EXIT_LEFT_ALONE = 1;   // no range: Quenlix would leave the text alone
constexpr int EXIT_TROUBLE = 2;      // usage, input or output error
constexpr int EXIT_TOO_LONG = 3;     // Quenlix would leave the clipboard untouched
constexpr int PROCEED = -1;          // the options ask for an expansion

constexpr UINT CODE_PAGE_MAX = 65535;

constexpr const char USAGE[] =
    "Usage: %s [--code-page N] [--lf] [--verbose] [FILE]\n"
    "Expands the numbered range in an address, such as https://example.com/img001-120.jpg,\n"
    "into the list of every address in it, exactly as Quenlix puts it on the clipboard.\n"
    "The text comes from FILE, or from standard input when FILE is - or absent; as on the\n"
    "clipboard, it ends at its first NUL byte and only its first %d bytes count.\n"
    "\n"
    "  --code-page N  the code page of the text: 932 (Shift JIS), 1252, 65001 (UTF-8), ...\n"
    "                 (default: the system's)\n"
    "  --lf           end the lines with LF instead of CR LF\n"
    "  --verbose      say on standard error why a text is left alone\n"
    "  --help         show this help and exit\n"
    "  --version      show the version and exit\n"
    "\n"
    "Exit status: 0 the list was written; 1 the text is left alone; 2 a usage, input or\n"
    "output error; 3 the list is too long for the clipboard, so nothing is written.\n";

struct Options {
  UINT codePage;     // 0: the system's
  bool lfOnly;       // CR LF becomes LF
  bool verbose;      // explain a text left alone
  const char* file;  // nullptr or "-": standard input
};

int UsageError(const char* problem, const char* what) {
  fprintf(stderr, "%s: %s '%s'\nTry '%s --help' for more information.\n", PROGRAM, problem,
          what, PROGRAM);
  return EXIT_TROUBLE;
}

// Standard output is buffered, so a full disk or a closed pipe shows only here.
bool FlushOutput() {
  if (fflush(stdout) == 0 && !ferror(stdout)) return true;
  fprintf(stderr, "%s: cannot write to standard output: %s\n", PROGRAM, strerror(errno));
  return false;
}

// The number that a --code-page value spells, or 0 when it spells none.
UINT ParseCodePage(const char* digits) {
  UINT number = 0;
  for (const char* p = digits; *p != '\0'; p++) {
    if (*p < '0' || *p > '9') return 0;
    number = number * 10 + (*p - '0');
    if (number > CODE_PAGE_MAX) return 0;
  }
  return number;
}

// Fills options; returns PROCEED, or the exit status when the command is already done.
int ParseOptions(int argc, char** argv, Options* options) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; i++) {
    const char* arg = argv[i];
    if (optionsEnded || arg[0] != '-' || arg[1] == '\0') {
      if (options->file != nullptr) return UsageError("extra operand", arg);
      options->file = arg;
    } else if (strcmp(arg, "--") == 0) {
      optionsEnded = true;
    } else if (strcmp(arg, "--code-page") == 0) {
      if (i + 1 == argc) return UsageError("missing code page after", arg);
      options->codePage = ParseCodePage(argv[++i]);
      if (options->codePage == 0) return UsageError("bad code page number", argv[i]);
    } else if (strcmp(arg, "--lf") == 0) {
      options->lfOnly = true;
    } else if (strcmp(arg, "--verbose") == 0) {
      options->verbose = true;
    } else if (strcmp(arg, "--help") == 0) {
      printf(USAGE, PROGRAM, CLIP_READ_MAX);
      return FlushOutput() ? EXIT_LISTED : EXIT_TROUBLE;
    } else if (strcmp(arg, "--version") == 0) {
      printf("%s %s\n", PROGRAM, QUENLIX_VERSION);
      return FlushOutput() ? EXIT_LISTED : EXIT_TROUBLE;
    } else {
      return UsageError("unknown option", arg);
    }
  }
  return PROCEED;
}

// An unknown code page would quietly change how texts are cut and searched, so it is an
// error rather than a fallback.
bool SetUpCodePage(UINT chosen) {
  UINT codePage = chosen;
  if (codePage == 0) {
    const char* charset = "";
    codePage = SystemCodePage(&charset);
    if (codePage == 0) {
      fprintf(stderr, "%s: no code page is known for the character set '%s'; give one with "
              "--code-page\n", PROGRAM, charset);
      return false;
    }
  }
  TextSetCodePageTo(codePage);
  if (TextCodePage.codePage != 0) return true;
  fprintf(stderr, "%s: unknown code page %u\n", PROGRAM, codePage);
  return false;
}

// Fills g_clipText as a clipboard read does: the text ends at its first NUL byte, at most
// CLIP_READ_MAX bytes of it are kept, and every byte after it is zero.
bool ReadText(const char* file) {
  const bool fromStdin = file == nullptr || strcmp(file, "-") == 0;
  const char* name = fromStdin ? "standard input" : file;
  FILE* in = fromStdin ? stdin : fopen(file, "rb");
  if (in == nullptr) {
    fprintf(stderr, "%s: cannot open '%s': %s\n", PROGRAM, name, strerror(errno));
    return false;
  }
  memset(g_clipText, 0, CLIP_TEXT_SIZE);
  fread(g_clipText, 1, CLIP_READ_MAX, in);
  const bool failed = ferror(in) != 0;
  const int readErrno = errno;
  if (!fromStdin) fclose(in);
  if (failed) {
    fprintf(stderr, "%s: cannot read '%s': %s\n", PROGRAM, name, strerror(readErrno));
    return false;
  }
  const int length = BytesLength(g_clipText);
  memset(g_clipText + length, 0, CLIP_TEXT_SIZE - length);
  return true;
}

// A list cut at the clipboard limit may end between CR and LF; that CR stays.
void WriteList(const char* list, int length, bool lfOnly) {
  int from = 0;
  for (int i = 0; lfOnly && i + 1 < length; i++) {
    if (list[i] == '\r' && list[i + 1] == '\n') {
      fwrite(list + from, 1, i - from, stdout);
      from = i + 1;
    }
  }
  fwrite(list + from, 1, length - from, stdout);
}

}  // namespace

int main(int argc, char** argv) {
  PrepareStdio();
  Options options = {};
  const int status = ParseOptions(argc, argv, &options);
  if (status != PROCEED) return status;
  if (!SetUpCodePage(options.codePage) || !ReadText(options.file)) return EXIT_TROUBLE;

  if (ExpandRange(nullptr) == EXPAND_LEFT_ALONE) {
    if (options.verbose) fprintf(stderr, "%s: no range to expand\n", PROGRAM);
    return EXIT_LEFT_ALONE;
  }
  int length = 0;
  const char* list = ClipSinkText(&length);
  if (list == nullptr) {
    fprintf(stderr, "%s: the list is too long for the clipboard (%d bytes or more); "
            "nothing written\n", PROGRAM, LIST_BUF_SIZE);
    return EXIT_TOO_LONG;
  }
  WriteList(list, length, options.lfOnly);
  return FlushOutput() ? EXIT_LISTED : EXIT_TROUBLE;
}
