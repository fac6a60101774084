// The installation manifest: the 116 files in the order they are written,
// with their attributes, what a failure of each means, and the progress
// position reached after it. The order is part of the contract: it fixes which
// files exist when a required entry fails and where the progress bar stands.
// The build's payload generator reads this table too, so it is written once.
#pragma once
#include "install/payload.h"

enum EntryClass {
    Required,           // failure stops the installation
    Optional,           // failure is ignored
    WordBaseRequired,   // skipped when KeepOldWordBase, otherwise required
    WordBaseOptional,   // skipped when KeepOldWordBase, otherwise optional
};

struct ManifestRow {
    PayloadEntry Entry;
    EntryClass Class;
    int Checkpoint;     // SetProgress position after the entry, 0 for none
};

// clang-format off
inline constexpr ManifestRow InstallManifest[] = {
    {{106, "keytab.dic",              true , true }, Required,           0}, // 1
    {{131, "charflat.dic",            true , true }, Required,           0}, // 2
    {{143, "onekey.dic",              true , true }, Required,          15}, // 3
    {{111, "order.dic",               false, true }, Required,          20}, // 4
    {{153, "lexres.bin",              true , true }, Optional,           0}, // 5
    {{123, "LexMain2.bin",            true , true }, Optional,           0}, // 6
    {{118, "dupes.dic",               true , false}, Optional,           0}, // 7
    {{137, "char2key.bin",            true , true }, Optional,           0}, // 8
    {{114, "notes2.igb",              true , true }, Required,           0}, // 9
    {{115, "notes3.igb",              true , true }, Required,           0}, // 10
    {{120, "engine.ini",              true , true }, Required,           0}, // 11
    {{122, "engine_en.ini",           true , true }, Optional,           0}, // 12
    {{203, "hints.txt",               true , true }, Optional,           0}, // 13
    {{204, "hints_en.txt",            true , true }, Optional,           0}, // 14
    {{165, "wordbaseguide.txt",       true , true }, Optional,          25}, // 15
    {{110, "GlyphAtlas.bin",          true , true }, Required,          30}, // 16
    {{116, "layout.bmp",              true , true }, Required,           0}, // 17
    {{136, "layoutA.bmp",             true , true }, Required,           0}, // 18
    {{138, "layoutAStd.bmp",          true , true }, Required,           0}, // 19
    {{140, "layoutB.bmp",             true , true }, Required,           0}, // 20
    {{141, "layoutBStd.bmp",          true , true }, Required,           0}, // 21
    {{149, "layoutB1.bmp",            true , true }, Required,           0}, // 22
    {{151, "layoutBStd1.bmp",         true , true }, Required,           0}, // 23
    {{150, "layoutB2.bmp",            true , true }, Required,           0}, // 24
    {{152, "layoutBStd2.bmp",         true , true }, Required,          35}, // 25
    {{127, "WordFlat.igb",            false, false}, WordBaseRequired,  45}, // 26
    {{130, "char2snd.bin",            true , true }, Required,           0}, // 27
    {{191, "char2snd1.bin",           true , true }, Required,           0}, // 28
    {{192, "char2snd2.bin",           true , true }, Required,           0}, // 29
    {{132, "strokes.bin",             true , true }, Required,           0}, // 30
    {{144, "vwords.dic",              true , true }, Optional,           0}, // 31
    {{162, "simp2trad.bin",           true , true }, Optional,           0}, // 32
    {{189, "trad2simp.bin",           true , true }, Optional,           0}, // 33
    {{173, "corner.bin",              true , true }, Optional,           0}, // 34
    {{241, "links1.map",              true , true }, Optional,           0}, // 35
    {{240, "links2.map",              true , true }, Optional,           0}, // 36
    {{248, "grid_strokes_dups.bin",   true , true }, Optional,           0}, // 37
    {{249, "grid_strokes.bin",        true , true }, Optional,           0}, // 38
    {{250, "grid_strokes_combo.bin",  true , true }, Optional,           0}, // 39
    {{251, "CompBase.dat",            true , true }, Optional,           0}, // 40
    {{252, "Comps.dat",               true , true }, Optional,           0}, // 41
    {{253, "Zelta6Show.exe",          true , true }, Optional,           0}, // 42
    {{254, "chars_by_usage.txt",      true , true }, Optional,           0}, // 43
    {{255, "q6_chords.bmp",           true , false}, Optional,           0}, // 44
    {{256, "Zelta6layout.bmp",        true , false}, Optional,           0}, // 45
    {{175, "tarvoguide.htm",          true , false}, Optional,           0}, // 46
    {{176, "TVOGUIDE.HTM",            true , false}, Optional,           0}, // 47
    {{177, "TVOEditGuide.htm",        true , false}, Optional,           0}, // 48
    {{178, "quorlinguide.htm",        true , false}, Optional,           0}, // 49
    {{179, "typing_examples.htm",     true , false}, Optional,           0}, // 50
    {{174, "aid_keys.htm",            true , false}, Optional,           0}, // 51
    {{180, "quickstart.htm",          true , false}, Optional,           0}, // 52
    {{181, "sound_shape.htm",         true , false}, Optional,           0}, // 53
    {{182, "shapeguide.htm",          true , false}, Optional,           0}, // 54
    {{183, "shapememo.htm",           true , false}, Optional,           0}, // 55
    {{184, "shortcuts.htm",           true , false}, Optional,           0}, // 56
    {{194, "tarvoguide_en.htm",       true , false}, Optional,           0}, // 57
    {{195, "TVOGUIDE_en.HTM",         true , false}, Optional,           0}, // 58
    {{196, "TVOEditGuide_en.htm",     true , false}, Optional,           0}, // 59
    {{197, "quorlinguide_en.htm",     true , false}, Optional,           0}, // 60
    {{198, "typing_examples_en.htm",  true , false}, Optional,           0}, // 61
    {{193, "aid_keys_en.htm",         true , false}, Optional,           0}, // 62
    {{199, "quickstart_en.htm",       true , false}, Optional,           0}, // 63
    {{200, "sound_shape_en.htm",      true , false}, Optional,           0}, // 64
    {{201, "shortcuts_en.htm",        true , false}, Optional,           0}, // 65
    {{294, "tarvoguide_b5.htm",       true , false}, Optional,           0}, // 66
    {{295, "TVOGUIDE_b5.HTM",         true , false}, Optional,           0}, // 67
    {{296, "TVOEditGuide_b5.htm",     true , false}, Optional,           0}, // 68
    {{297, "quorlinguide_b5.htm",     true , false}, Optional,           0}, // 69
    {{298, "typing_examples_b5.htm",  true , false}, Optional,           0}, // 70
    {{293, "aid_keys_b5.htm",         true , false}, Optional,           0}, // 71
    {{299, "quickstart_b5.htm",       true , false}, Optional,           0}, // 72
    {{300, "sound_shape_b5.htm",      true , false}, Optional,           0}, // 73
    {{301, "shortcuts_b5.htm",        true , false}, Optional,           0}, // 74
    {{205, "Parts2Chars.PNG",         true , true }, Optional,           0}, // 75
    {{206, "CharInfo_en.PNG",         true , true }, Optional,           0}, // 76
    {{207, "CharInfo.PNG",            true , true }, Optional,           0}, // 77
    {{208, "FindPhrase.PNG",          true , true }, Optional,           0}, // 78
    {{258, "TarvoInputEngineGuide.chm", true , false}, Optional,           0}, // 79
    {{119, "welcome_tvo.bmp",         true , false}, Optional,           0}, // 80
    {{171, "TVOUnInstall.exe",        true , false}, Optional,           0}, // 81
    {{164, "Terms_en.txt",            true , false}, Optional,           0}, // 82
    {{163, "Terms_cn.txt",            true , false}, Optional,           0}, // 83
    {{190, "Welcome_quorlin.bmp",     true , false}, Optional,           0}, // 84
    {{210, "sample_manual3.PNG",      true , false}, Optional,           0}, // 85
    {{211, "sample_caret.PNG",        true , false}, Optional,           0}, // 86
    {{212, "sample_manual.PNG",       true , false}, Optional,           0}, // 87
    {{213, "sample_manual1.PNG",      true , false}, Optional,           0}, // 88
    {{214, "sample_manual2.PNG",      true , false}, Optional,           0}, // 89
    {{215, "SAMPLE1.PNG",             true , false}, Optional,           0}, // 90
    {{216, "sample_manual4.PNG",      true , false}, Optional,           0}, // 91
    {{217, "sample_manual5.PNG",      true , false}, Optional,           0}, // 92
    {{218, "sample_word1.PNG",        true , false}, Optional,           0}, // 93
    {{219, "sample_word2.PNG",        true , false}, Optional,           0}, // 94
    {{220, "sample_word3.PNG",        true , false}, Optional,           0}, // 95
    {{221, "sample_word4.PNG",        true , false}, Optional,           0}, // 96
    {{222, "sample_word5.PNG",        true , false}, Optional,           0}, // 97
    {{223, "sample_word6.PNG",        true , false}, Optional,           0}, // 98
    {{224, "sample_word7.PNG",        true , false}, Optional,           0}, // 99
    {{225, "sample_word8.PNG",        true , false}, Optional,           0}, // 100
    {{226, "sample_predict.PNG",      true , false}, Optional,           0}, // 101
    {{227, "sample_tone3.PNG",        true , false}, Optional,          50}, // 102
    {{139, "KeyTrainer.exe",          true , false}, Required,          55}, // 103
    {{126, "wordbase_x.idx",          false, false}, WordBaseOptional,  65}, // 104
    {{128, "wordbase.idx",            false, false}, WordBaseRequired,   0}, // 105
    {{129, "wordbase_initials.idx",   false, false}, WordBaseRequired,   0}, // 106
    {{109, "Quorlin.exe",             true , false}, Required,          70}, // 107
    {{133, "DisplayFAQ.igb",          true , true }, Optional,           0}, // 108
    {{134, "DisplayFAQ_en.igb",       true , true }, Optional,           0}, // 109
    {{135, "notes2b.igb",             true , true }, Optional,           0}, // 110
    {{159, "kbhook.dll",              true , true }, Optional,           0}, // 111
    {{160, "TVO.exe",                 true , false}, Optional,           0}, // 112
    {{271, "CompsStd.dat",            true , true }, Optional,           0}, // 113
    {{272, "CompBaseStd.dat",         true , true }, Optional,           0}, // 114
    {{145, "CharDef.dic",             true , true }, Optional,           0}, // 115
    {{146, "bilingual.u8",            true , true }, Optional,          90}, // 116
};
// clang-format on

constexpr int ManifestSize = sizeof InstallManifest / sizeof InstallManifest[0];
static_assert(ManifestSize == 116, "the manifest has 116 entries");

// The engine's configuration file, which gets the user's answers once the
// manifest is written.
constexpr int EngineConfigRow = 10;
static_assert(InstallManifest[EngineConfigRow].Entry.ResourceId == 120, "engine.ini");

// The stream allocated once per installation; the largest payload fits it.
constexpr unsigned long ExtractionBufferSize = 25165824;
