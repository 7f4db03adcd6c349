// The status texts and their pieces, as code page 932 bytes. They are escaped so that no
// source file depends on the compiler's character set; the Japanese stands beside each.
#pragma once

constexpr char PRODUCT_NAME[] = "Quenlix";
constexpr char PRODUCT_VERSION[] = "ver1.0 ";  // the blank is part of the version text

// "%s %s を起動しました。" (... has started)
constexpr char START_FORMAT[] =
    "%s %s \x82\xF0\x8B\x4E\x93\xAE\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42";

// "\"%s\" %s": the mode word in plain double quotes, a blank, its ending
constexpr char MODE_FORMAT[] = "\"%s\" %s";
// "展開モード" (expansion mode)
constexpr char MODE_WORD[] = "\x93\x57\x8A\x4A\x83\x82\x81\x5B\x83\x68";
// "です。" (is on)
constexpr char MODE_ON_ENDING[] = "\x82\xC5\x82\xB7\x81\x42";
// "を一時停止します。" (is paused)
constexpr char MODE_PAUSED_ENDING[] =
    "\x82\xF0\x88\xEA\x8E\x9E\x92\xE2\x8E\x7E\x82\xB5\x82\xDC\x82\xB7\x81\x42";

// "%s を終了しますか" (quit ...?)
constexpr char QUIT_FORMAT[] = "%s \x82\xF0\x8F\x49\x97\xB9\x82\xB5\x82\xDC\x82\xB7\x82\xA9";
