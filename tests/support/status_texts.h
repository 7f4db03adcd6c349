// The status window's texts as the user reads them, written by hand from the Japanese as code
// page 932 bytes.
#pragma once

#include <string>

// "Quenlix ver1.0  を起動しました。": two blanks before the Japanese
const std::string START_TEXT =
    "Quenlix ver1.0  \x82\xF0\x8B\x4E\x93\xAE\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42";
// "\"展開モード\" です。"
const std::string EXPAND_TEXT =
    "\"\x93\x57\x8A\x4A\x83\x82\x81\x5B\x83\x68\" \x82\xC5\x82\xB7\x81\x42";
// "\"展開モード\" を一時停止します。"
const std::string PAUSE_TEXT =
    "\"\x93\x57\x8A\x4A\x83\x82\x81\x5B\x83\x68\" "
    "\x82\xF0\x88\xEA\x8E\x9E\x92\xE2\x8E\x7E\x82\xB5\x82\xDC\x82\xB7\x81\x42";
// "Quenlix を終了しますか": no question mark
const std::string QUIT_TEXT = "Quenlix \x82\xF0\x8F\x49\x97\xB9\x82\xB5\x82\xDC\x82\xB7\x82\xA9";
