// The whole program on the simulated desktop under a random sequence of events: texts,
// images and empty offers copied by other programs, a clipboard held open, failed
// allocations, locks and hand-overs, clicks, keys and messages, and ticks. The session
// checks the timer cycle's promises after every event.
//
// Input: [code page] then events, each an operation byte and, for some, one argument byte.
#include <cstdint>
#include <string>

#include "app/app.h"
#include "res/resource.h"
#include "tests/support/session.h"

namespace {

constexpr UINT CODE_PAGES[] = {932, 1252};
constexpr int CODE_PAGE_COUNT = sizeof CODE_PAGES / sizeof CODE_PAGES[0];
constexpr int EVENTS_MAX = 256;
constexpr int PAD_STEP = 4;  // a padded address grows by this many bytes per argument step

enum Operation {
  OP_TICK,
  OP_COPY_CANNED,
  OP_COPY_CONTROL,
  OP_COPY_BYTES,
  OP_COPY_LONG,
  OP_COPY_IMAGE,
  OP_OFFER_EMPTY,
  OP_HOLD_OPEN,
  OP_FAIL_ALLOC,
  OP_FAIL_LOCK,
  OP_FAIL_SET_DATA,
  OP_CLICK,
  OP_FOCUS,
  OP_ESCAPE,
  OP_ENTER,
  OP_POST,
  OP_WAIT_OUT,
  OP_COUNT
};

// Reads the input byte by byte; past its end every byte is 0.
struct Reader {
  const uint8_t* data;
  size_t size;
  size_t at;
  bool More() const { return at < size; }
  uint8_t Byte() { return at < size ? data[at++] : 0; }
};

int Button(uint8_t argument) { return argument & 1 ? IDC_OK : IDCANCEL; }

void Post(Session* session, uint8_t argument) {
  switch (argument % 4) {
    case 0: session->Post(WM_CLOSE, 0); break;
    case 1: session->Post(WM_DESTROY, 0); break;
    case 2: session->Post(WM_COMMAND, IDCANCEL); break;
    // OK's command, or a command with any other small id, which no button has but cancel.
    default: session->Post(WM_COMMAND, argument & 0x80 ? IDC_OK : argument); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in = {data, size, 0};
  Session session(CODE_PAGES[in.Byte() % CODE_PAGE_COUNT]);
  for (int events = 0; in.More() && events < EVENTS_MAX && !session.Ended(); ++events) {
    switch (in.Byte() % OP_COUNT) {
      case OP_TICK: session.Tick(); break;
      case OP_COPY_CANNED: session.Copy(CANNED_TEXTS[in.Byte() % CANNED_TEXT_COUNT]); break;
      case OP_COPY_CONTROL: session.Copy(CONTROL_TEXTS[in.Byte() % CONTROL_TEXT_COUNT]); break;
      case OP_COPY_BYTES: {
        size_t length = in.Byte();
        std::string text;
        while (text.size() < length && in.More()) text += static_cast<char>(in.Byte());
        session.Copy(text);
        break;
      }
      case OP_COPY_LONG: {
        // An address whose range stands after a long run of bytes, past the read limit at
        // the top of the argument's range.
        std::string text = "a://b/" + std::string(in.Byte() * PAD_STEP, 'x');
        session.Copy(text + CANNED_TEXTS[in.Byte() % CANNED_TEXT_COUNT]);
        break;
      }
      case OP_COPY_IMAGE: session.CopyImage(); break;
      case OP_OFFER_EMPTY: session.OfferTextWithoutData(); break;
      case OP_HOLD_OPEN: session.HoldOpen(in.Byte() & 1); break;
      case OP_FAIL_ALLOC: session.FailNextAlloc(); break;
      case OP_FAIL_LOCK: session.FailNextLock(); break;
      case OP_FAIL_SET_DATA: session.FailNextSetData(); break;
      case OP_CLICK: session.Click(Button(in.Byte())); break;
      case OP_FOCUS: session.Focus(Button(in.Byte())); break;
      case OP_ESCAPE: session.Escape(); break;
      case OP_ENTER: session.Enter(); break;
      case OP_POST: Post(&session, in.Byte()); break;
      case OP_WAIT_OUT: session.WaitOutCountdown(); break;
    }
  }
  return 0;
}
