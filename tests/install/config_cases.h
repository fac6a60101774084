// Configuration files before and after the update, byte for byte. Checked on
// the text rules and, through the real file, on the update itself.
#pragma once
#include <string>

struct ConfigCase {
    const char* Name;
    std::string Before;
    int DisplayOk;      // ChineseDisplayOk: 0 means UseBmpFont=1
    int Language;       // ForceLanguage
    std::string After;
};

// The shipped file: interface strings (GBK), then [Config] with UseBmpFont=0
// and one empty line.
inline const std::string ShippedIni =
    "[Strings]\r\nCaption=\xD6\xD0\xCE\xC4\r\nTitle=Tarvo\r\n\r\n[Config]\r\nUseBmpFont=0\r\n\r\n";

inline const std::string LongLine = "Note=" + std::string(250, 'y');   // 255 bytes

inline const ConfigCase ConfigCases[] = {
    {"shipped, display test passed", ShippedIni, 1, 2,
     ShippedIni + "\r\nForceLanguage=2\r\n"},
    {"shipped, display test failed",
     ShippedIni, 0, 0,
     "[Strings]\r\nCaption=\xD6\xD0\xCE\xC4\r\nTitle=Tarvo\r\n\r\n"
     "[Config]\r\nUseBmpFont=1\r\n\r\n\r\nForceLanguage=0\r\n"},
    {"both keys present", "[Config]\r\nUseBmpFont=1\r\nForceLanguage=0\r\n", 1, 1,
     "[Config]\r\nUseBmpFont=0\r\nForceLanguage=1\r\n"},
    {"empty file", "", 0, 1,
     "\r\n\r\n[Config]\r\n\r\n\r\nUseBmpFont=1\r\n\r\nForceLanguage=1\r\n"},
    {"leading spaces", "[Config]\r\n  UseBmpFont=0\r\nX=1\r\n", 0, 2,
     "[Config]\r\nUseBmpFont=1=0\r\nX=1\r\n\r\nForceLanguage=2\r\n"},
    {"keys before any header", "UseBmpFont=0\r\nForceLanguage=1\r\n[Config]\r\n", 0, 2,
     "UseBmpFont=1\r\nForceLanguage=2\r\n[Config]\r\n\r\n\r\n[Config]\r\n\r\n"},
    {"scan stops after both keys",
     "[Config]\r\nUseBmpFont=0\r\nForceLanguage=0\r\nUseBmpFont=0\r\n", 0, 1,
     "[Config]\r\nUseBmpFont=1\r\nForceLanguage=1\r\nUseBmpFont=0\r\n"},
    {"empty UseBmpFont value", "[Config]\r\nUseBmpFont=\r\nNext=1\r\nLast=2\r\n", 0, 0,
     "[Config]\r\nUseBmpFont=1\r\nNext=1\r\nLast=2\r\n\r\nForceLanguage=0\r\n"},
    {"ForceLanguage without a digit",
     "[Config]\r\nForceLanguage=\r\nUseBmpFont=0\r\n[After]\r\nA=1\r\n", 1, 2,
     "[Config]\r\nForceLanguage=2\r\nUseBmpFont=0\r\n[After]\r\nA=1\r\n"},
    {"short lines one after the other", "[Config]\r\nForceLanguage=\r\nUseBmpFont=\r\nZ=9\r\n",
     0, 1, "[Config]\r\nForceLanguage=1\r\nUseBmpFont=1\r\nZ=9\r\n"},
    {"short last line without line end", "[Config]\r\nUseBmpFont=", 0, 0,
     "[Config]\r\nUseBmpFont=1\r\nForceLanguage=0\r\n"},
    {"line over 255 bytes passes whole",
     "[Config]\r\n" + LongLine + "tail of the long line\r\nUseBmpFont=0\r\nForceLanguage=1\r\n", 0,
     2, "[Config]\r\n" + LongLine + "tail of the long line\r\nUseBmpFont=1\r\nForceLanguage=2\r\n"},
    // The reader takes 255 bytes, then the rest of the line as a piece of
    // its own: a key there is written from that piece's first byte, and a
    // piece too short for the new text ends with exactly that text.
    {"key in the short last piece of a long line",
     "[Config]\r\n" + LongLine + "UseBmpFont=\r\nNext=1\r\n", 0, 0,
     "[Config]\r\n" + LongLine + "UseBmpFont=1\r\nNext=1\r\n\r\nForceLanguage=0\r\n"},
    {"key in the first piece of a long line",
     "[Config]\r\nUseBmpFont=0;" + std::string(300, 'c') + "\r\n", 0, 1,
     "[Config]\r\nUseBmpFont=1;" + std::string(300, 'c') + "\r\n\r\nForceLanguage=1\r\n"},
    {"LF line ends kept", "[Config]\nUseBmpFont=\nNext=1\n", 0, 1,
     "[Config]\nUseBmpFont=1\nNext=1\n\r\nForceLanguage=1\r\n"},
};
