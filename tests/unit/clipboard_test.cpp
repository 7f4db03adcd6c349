// Clipboard access: what a read leaves in the current text and what a write leaves on the
// clipboard, with every failure the shared clipboard can throw at them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sim/sim_control.h"
#include "watch/watch.h"

namespace {

constexpr unsigned char STALE = 0xA5;  // what the buffer held before a read
const std::string DOUBLE_BYTE_A = "\x82\xA0";  // a kana under code page 932: lead byte 0x82
const std::string PREVIOUS = "a://b/before.jpg";
const std::string LIST = "a://b/img01.jpg\r\na://b/img02.jpg\r\n";

HWND Window() {
  static int window;
  return reinterpret_cast<HWND>(&window);
}

// n bytes of text with digits, letters and a line break, so that no byte is in the wrong place.
std::string Text(size_t n) {
  static const char PATTERN[] = "a://b/img0123456789.jpg\r\n";
  std::string text;
  while (text.size() < n) text += PATTERN[text.size() % (sizeof PATTERN - 1)];
  return text;
}

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SimClipboardReset();
    memset(buf_, STALE, sizeof buf_);
  }
  void TearDown() override { SimClipboardReset(); }

  // The buffer holds text, then zeros up to its end.
  void ExpectBuffer(const std::string& text) {
    ASSERT_LT(text.size(), sizeof buf_);
    EXPECT_EQ(std::string(buf_, text.size()), text);
    for (size_t i = text.size(); i < sizeof buf_; i++) {
      ASSERT_EQ(buf_[i], 0) << "byte " << i;
    }
  }

  std::string ClipboardText() {
    std::string text;
    EXPECT_TRUE(SimClipboardText(&text));
    return text;
  }

  char buf_[CLIP_TEXT_SIZE];
};

TEST_F(ClipboardTest, ReadKeepsAtMostItsLimitAndZerosTheRest) {
  struct Case {
    const char* name;
    std::string copied;
    std::string read;
  };
  const std::string lastIsLead = Text(CLIP_READ_MAX - 1) + DOUBLE_BYTE_A;
  const Case cases[] = {
      {"empty text", "", ""},
      {"short address", "a://b/img01-03.jpg", "a://b/img01-03.jpg"},
      {"double-byte text", "\x82\x60\x82\x61-\x81\x7E", "\x82\x60\x82\x61-\x81\x7E"},
      {"one byte below the limit", Text(CLIP_READ_MAX - 1), Text(CLIP_READ_MAX - 1)},
      {"exactly the limit", Text(CLIP_READ_MAX), Text(CLIP_READ_MAX)},
      {"one byte over", Text(CLIP_READ_MAX + 1), Text(CLIP_READ_MAX)},
      {"far over", Text(5000), Text(CLIP_READ_MAX)},
      {"lead byte as last kept byte", lastIsLead, lastIsLead.substr(0, CLIP_READ_MAX)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimClipboardReset();
    memset(buf_, STALE, sizeof buf_);
    SimClipboardCopyText(c.copied);

    EXPECT_EQ(GetClipText(Window(), buf_), CLIP_DONE);
    ExpectBuffer(c.read);
    EXPECT_EQ(SimClipboardOpenCount(), 1);
    EXPECT_FALSE(SimClipboardIsOpen());
    EXPECT_EQ(SimInvalidateCount(), 1);
    EXPECT_EQ(ClipboardText(), c.copied);  // a read takes nothing away
  }
}

TEST_F(ClipboardTest, ReadThatFindsNoTextLeavesTheBufferAllZero) {
  struct Case {
    const char* name;
    void (*arrange)();
    int opens;  // an open the read must not even try counts as none
  };
  const Case cases[] = {
      {"empty clipboard", [] {}, 0},
      {"an image, no text", [] { SimClipboardCopyImage(); }, 0},
      {"held open by another program",
       [] {
         SimClipboardCopyText(PREVIOUS);
         SimClipboardHoldOpen(true);
       },
       0},
      {"text offered without data", [] { SimClipboardOfferTextWithoutData(); }, 1},
      {"data that cannot be locked",
       [] {
         SimClipboardCopyText(PREVIOUS);
         SimFailNextLock();
       },
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimClipboardReset();
    memset(buf_, STALE, sizeof buf_);
    c.arrange();

    EXPECT_EQ(GetClipText(Window(), buf_), CLIP_FAILED);
    ExpectBuffer("");
    EXPECT_EQ(SimClipboardOpenCount(), c.opens);
    EXPECT_FALSE(SimClipboardIsOpen());
    EXPECT_EQ(SimInvalidateCount(), 0);
  }
}

TEST_F(ClipboardTest, ReadsOnceMoreWhenTheOtherProgramLetsGo) {
  SimClipboardCopyText(PREVIOUS);
  SimClipboardHoldOpen(true);
  EXPECT_EQ(GetClipText(Window(), buf_), CLIP_FAILED);

  SimClipboardHoldOpen(false);
  EXPECT_EQ(GetClipText(Window(), buf_), CLIP_DONE);
  ExpectBuffer(PREVIOUS);
}

TEST_F(ClipboardTest, WritePutsAtMostItsLimitAndReplacesEveryFormat) {
  struct Case {
    const char* name;
    std::string text;
    std::string written;
  };
  const std::string lastIsLead = Text(CLIP_WRITE_MAX - 1) + DOUBLE_BYTE_A;
  const Case cases[] = {
      {"empty text", "", ""},
      {"a list", LIST, LIST},
      {"exactly the limit", Text(CLIP_WRITE_MAX), Text(CLIP_WRITE_MAX)},
      {"one byte over", Text(CLIP_WRITE_MAX + 1), Text(CLIP_WRITE_MAX)},
      {"lead byte as last written byte", lastIsLead, lastIsLead.substr(0, CLIP_WRITE_MAX)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimClipboardReset();
    SimClipboardCopyImage();

    EXPECT_EQ(PutClipText(Window(), c.text.c_str()), CLIP_DONE);
    EXPECT_EQ(ClipboardText(), c.written);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_EQ(SimClipboardOwner(), Window());
    EXPECT_FALSE(SimClipboardIsOpen());
    EXPECT_EQ(SimLiveBlocks(), 1);  // the clipboard's, nothing left over
  }
}

TEST_F(ClipboardTest, WriteThatFailsLeavesNoBlockBehind) {
  struct Case {
    const char* name;
    void (*arrange)();
    bool keepsPrevious;  // else the clipboard was emptied before the hand-over failed
    int opens;
  };
  const Case cases[] = {
      {"held open by another program", [] { SimClipboardHoldOpen(true); }, true, 0},
      {"no memory for the block", [] { SimFailNextAlloc(); }, true, 0},
      {"block that cannot be locked", [] { SimFailNextLock(); }, true, 0},
      {"hand-over refused", [] { SimFailNextSetData(); }, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimClipboardReset();
    SimClipboardCopyText(PREVIOUS);
    c.arrange();

    EXPECT_EQ(PutClipText(Window(), LIST.c_str()), CLIP_FAILED);
    std::string text;
    if (c.keepsPrevious) {
      EXPECT_TRUE(SimClipboardText(&text));
      EXPECT_EQ(text, PREVIOUS);
      EXPECT_EQ(SimClipboardOwner(), nullptr);
      EXPECT_EQ(SimLiveBlocks(), 1);  // the previous text's
    } else {
      EXPECT_FALSE(SimClipboardText(&text));
      EXPECT_EQ(SimLiveBlocks(), 0);
    }
    EXPECT_EQ(SimClipboardOpenCount(), c.opens);
    EXPECT_FALSE(SimClipboardIsOpen());
  }
}

TEST_F(ClipboardTest, WrittenTextReadsBack) {
  ASSERT_EQ(PutClipText(Window(), LIST.c_str()), CLIP_DONE);
  EXPECT_EQ(GetClipText(Window(), buf_), CLIP_DONE);
  ExpectBuffer(LIST);
  EXPECT_EQ(SimLiveBlocks(), 1);
}

}  // namespace
