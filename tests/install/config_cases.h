// Configuration files before and after the update, byte for byte. Checked on
// the text rules, and on real files read back through the profile functions
// as the engine reads them.
#pragma once
#include <string>

#include "install/config_text.h"

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

inline const std::string LongValue(300, 'y');

inline const ConfigCase ConfigCases[] = {
    {"shipped, display test passed", ShippedIni, 1, 2,
     ShippedIni + "\r\nForceLanguage=2\r\n"},
    {"shipped, display test failed", ShippedIni, 0, 0,
     "[Strings]\r\nCaption=\xD6\xD0\xCE\xC4\r\nTitle=Tarvo\r\n\r\n"
     "[Config]\r\nUseBmpFont=1\r\n\r\n\r\nForceLanguage=0\r\n"},
    {"both keys present", "[Config]\r\nUseBmpFont=1\r\nForceLanguage=0\r\n", 1, 1,
     "[Config]\r\nUseBmpFont=0\r\nForceLanguage=1\r\n"},
    {"empty file", "", 0, 1,
     "\r\n\r\n[Config]\r\n\r\n\r\nUseBmpFont=1\r\n\r\nForceLanguage=1\r\n"},
    {"other case, blanks, a longer old value",
     "[config]\r\n  forcelanguage = 12 \r\nUSEBMPFONT\t=0 ; bitmap fonts\r\n", 0, 2,
     "[config]\r\n  forcelanguage = 2 \r\nUSEBMPFONT\t=1\r\n"},
    {"[Config] first, keys missing",
     "[Config]\r\nOther=5\r\n\r\n[Strings]\r\nA=1\r\n", 1, 1,
     "[Config]\r\nOther=5\r\n\r\n\r\nUseBmpFont=0\r\n\r\nForceLanguage=1\r\n[Strings]\r\nA=1\r\n"},
    {"[Config] in the middle, keys in other sections",
     "[Strings]\r\nHelp=Set UseBmpFont=1 to draw with bitmaps\r\nForceLanguage=9\r\n"
     "[Config]\r\nUseBmpFont=0\r\n[Engine]\r\nUseBmpFont=7\r\n",
     1, 2,
     "[Strings]\r\nHelp=Set UseBmpFont=1 to draw with bitmaps\r\nForceLanguage=9\r\n"
     "[Config]\r\nUseBmpFont=0\r\n\r\nForceLanguage=2\r\n[Engine]\r\nUseBmpFont=7\r\n"},
    {"[Config] absent, named in a value",
     "[Strings]\r\nNote=see [Config]: UseBmpFont=0, ForceLanguage=1\r\n", 0, 0,
     "[Strings]\r\nNote=see [Config]: UseBmpFont=0, ForceLanguage=1\r\n"
     "\r\n\r\n[Config]\r\n\r\n\r\nUseBmpFont=1\r\n\r\nForceLanguage=0\r\n"},
    {"keys before any header", "UseBmpFont=0\r\nForceLanguage=1\r\n[Config]\r\n", 0, 2,
     "UseBmpFont=0\r\nForceLanguage=1\r\n[Config]\r\n\r\nUseBmpFont=1\r\n\r\nForceLanguage=2\r\n"},
    {"two [Config] sections, the first counts",
     "[Config]\r\nForceLanguage=1\r\n[Other]\r\nX=1\r\n[CONFIG]\r\nUseBmpFont=0\r\n", 0, 2,
     "[Config]\r\nForceLanguage=2\r\n\r\nUseBmpFont=1\r\n[Other]\r\nX=1\r\n[CONFIG]\r\nUseBmpFont=0\r\n"},
    {"LF line ends", "[Config]\nUseBmpFont=\nNext=1\n[After]\nA=1\n", 0, 1,
     "[Config]\nUseBmpFont=1\nNext=1\n\r\nForceLanguage=1\r\n[After]\nA=1\n"},
    {"CR-only line ends", "[A]\rX=1\r[Config]\rUseBmpFont=0\r[B]\rY=2\r", 0, 1,
     "[A]\rX=1\r[Config]\rUseBmpFont=1\r\rForceLanguage=1\r[B]\rY=2\r"},
    {"long lines",
     "[Config]\r\nNote=" + LongValue + "UseBmpFont=\r\nforcelanguage=0\r\n[Strings]\r\nLong=" +
         LongValue + "\r\n",
     0, 2,
     "[Config]\r\nNote=" + LongValue + "UseBmpFont=\r\nforcelanguage=2\r\n\r\nUseBmpFont=1\r\n"
     "[Strings]\r\nLong=" + LongValue + "\r\n"},
    {"key without '=', last line without line end",
     "[Config]\r\nUseBmpFont\r\nForceLanguage=", 0, 0,
     "[Config]\r\nUseBmpFont=1\r\nForceLanguage=0"},
    // Mixed line ends and odd headers, as the profile functions read them.
    {"LF first, then CR-only lines", "\n[Config]\rUseBmpFont=0\r", 1, 2,
     "\n[Config]\rUseBmpFont=0\r\rForceLanguage=2\r"},
    {"a lone CR ends the header line", "[Config]\rUseBmpFont=1\r\n", 1, 2,
     "[Config]\rUseBmpFont=0\r\n\r\nForceLanguage=2\r\n"},
    {"blanks inside the brackets", "[ Config ]\r\nUseBmpFont=1\r\n", 1, 2,
     "[ Config ]\r\nUseBmpFont=0\r\n\r\nForceLanguage=2\r\n"},
    {"a key name that ends in the key's, a longer value, no last line end",
     "[Config]\r\nMyForceLanguage=1\r\nUseBmpFont=0000", 0, 2,
     "[Config]\r\nMyForceLanguage=1\r\nUseBmpFont=1\r\nForceLanguage=2\r\n"},
    {"the name runs to the last ']'", "[Config]]\r\nUseBmpFont=1\r\n", 1, 2,
     "[Config]]\r\nUseBmpFont=1\r\n\r\n\r\n[Config]\r\n\r\n\r\nUseBmpFont=0\r\n\r\nForceLanguage=2\r\n"},
};

// What the update makes of a file.
inline std::string UpdatedText(const std::string& before, int displayOk, int language)
{
    char value = displayOk ? '0' : '1';
    std::string out(UpdateConfigText(before.data(), before.size(), value, language, nullptr, 0), '\0');
    UpdateConfigText(before.data(), before.size(), value, language, &out[0], out.size());
    return out;
}
