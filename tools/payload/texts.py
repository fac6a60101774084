"""Text stand-ins: the engine's configuration files, tip lists, character
lists and help pages, in the encodings the engine reads them in."""
import random

from records import seed_of

# Interface strings of the engine: (key, Chinese, English).
INTERFACE = [
    ("Title", "塔沃中文输入引擎", "Tarvo Chinese Input Engine"),
    ("Editor", "塔沃编辑器", "Quorlin Editor"),
    ("Tutor", "键盘练习", "Key Trainer"),
    ("MenuFile", "文件", "File"), ("MenuEdit", "编辑", "Edit"),
    ("MenuView", "查看", "View"), ("MenuTools", "工具", "Tools"),
    ("MenuHelp", "帮助", "Help"), ("New", "新建", "New"), ("Open", "打开", "Open"),
    ("Save", "保存", "Save"), ("SaveAs", "另存为", "Save As"), ("Print", "打印", "Print"),
    ("Exit", "退出", "Exit"), ("Undo", "撤消", "Undo"), ("Cut", "剪切", "Cut"),
    ("Copy", "复制", "Copy"), ("Paste", "粘贴", "Paste"), ("Find", "查找", "Find"),
    ("Replace", "替换", "Replace"), ("SelectAll", "全选", "Select All"),
    ("Font", "字体", "Font"), ("Options", "选项", "Options"),
    ("InputOn", "中文输入", "Chinese input"), ("InputOff", "英文输入", "English input"),
    ("FullWidth", "全角", "Full width"), ("HalfWidth", "半角", "Half width"),
    ("Simplified", "简体", "Simplified"), ("Traditional", "繁体", "Traditional"),
    ("SoundCode", "音码", "Sound code"), ("ShapeCode", "形码", "Shape code"),
    ("SoundShape", "音形结合", "Sound and shape"), ("Predict", "联想", "Prediction"),
    ("WordBase", "词库", "Word base"), ("AddWord", "加词", "Add word"),
    ("DelWord", "删词", "Delete word"), ("Learn", "自动学习", "Learn automatically"),
    ("Candidates", "候选字", "Candidates"), ("PageUp", "上一页", "Previous page"),
    ("PageDown", "下一页", "Next page"), ("Keyboard", "键盘布局", "Keyboard layout"),
    ("Strokes", "笔画", "Strokes"), ("Radicals", "部首", "Radicals"),
    ("Corner", "四角号码", "Four-corner code"), ("Pinyin", "拼音", "Pinyin"),
    ("Tone", "声调", "Tone"), ("Hint", "提示", "Hint"), ("About", "关于", "About"),
    ("Version", "版本", "Version"), ("Ok", "确认", "OK"), ("Cancel", "取消", "Cancel"),
    ("Yes", "是", "Yes"), ("No", "否", "No"), ("Close", "关闭", "Close"),
    ("NotFound", "没有找到", "Not found"), ("SaveChanges", "是否保存修改？", "Save changes?"),
    ("FileError", "文件无法打开", "The file cannot be opened"),
    ("MemoryError", "内存不够", "Memory not enough"),
    ("Lesson", "课程", "Lesson"), ("Speed", "速度", "Speed"), ("Errors", "错误", "Errors"),
    ("Start", "开始", "Start"), ("Pause", "暂停", "Pause"), ("Score", "成绩", "Score"),
]


def _crlf(lines):
    return "".join(line + "\r\n" for line in lines)


def _config_tail():
    return ["", "[Config]", "UseBmpFont=0", ""]


def engine_ini(english=False):
    """The engine's configuration: a long [Strings] section, then [Config]
    with UseBmpFont=0 and one empty line, nothing after it. The shipped file
    has no ForceLanguage line; the installer appends it."""
    lines = ["[Strings]"]
    for round_ in range(6):
        for key, cn, en in INTERFACE:
            name = key if round_ == 0 else "%s%d" % (key, round_)
            if english:
                lines.append("%s=%s" % (name, en))
            else:
                lines.append("%s=%s %s" % (name, cn, en))
    for n in range(1, 121):
        if english:
            lines.append("Tip%03d=Press F%d to switch to input scheme %d." % (n, n % 12 + 1, n % 7))
        else:
            lines.append("Tip%03d=按F%d键切换到第%d种输入方案。Press F%d to switch to scheme %d."
                         % (n, n % 12 + 1, n % 7, n % 12 + 1, n % 7))
    text = _crlf(lines + _config_tail())
    return text.encode("ascii" if english else "gbk")


def tip_list(english=False):
    lines = []
    for n, (_, cn, en) in enumerate(INTERFACE, 1):
        if english:
            lines.append("%d. %s: see the help page for how to use %s." % (n, en, en.lower()))
        else:
            lines.append("%d. %s：使用方法请看帮助页。(%s)" % (n, cn, en))
    return _crlf(lines).encode("ascii" if english else "gbk")


def word_base_guide():
    lines = ["词库说明 Word base guide", ""]
    for n in range(1, 41):
        lines.append("第%d条：词库中的词按使用频率排列，常用词在前。新加的词保存在用户词库中。" % n)
        lines.append("Item %d: words are kept in order of use; new words go into your own word base." % n)
    return _crlf(lines).encode("gbk")


def level1_hanzi():
    return [bytes((lead, trail)).decode("gb2312")
            for lead in range(0xB0, 0xD8) for trail in range(0xA1, 0xFF)
            if not (lead == 0xD7 and trail >= 0xFA)]


def chars_by_usage():
    """All level-1 hanzi in a fixed usage order, 40 to a line, GBK."""
    chars = level1_hanzi()
    random.Random(seed_of("chars_by_usage.txt")).shuffle(chars)
    lines = ["".join(chars[i:i + 40]) for i in range(0, len(chars), 40)]
    return _crlf(lines).encode("gbk")


def bilingual_u8():
    """UTF-8 word list: word, tab, English gloss; starts with a BOM."""
    lines = []
    rnd = random.Random(seed_of("bilingual.u8"))
    chars = level1_hanzi()
    for n in range(6000):
        _, cn, en = INTERFACE[n % len(INTERFACE)]
        word = cn if n < len(INTERFACE) else cn[:1] + rnd.choice(chars)
        lines.append("%s\t%s (%d)" % (word, en.lower(), n))
    return ("\ufeff" + "\n".join(lines) + "\n").encode("utf-8")


# Help pages: base name -> (Simplified title, Traditional title, English title)
HELP_PAGES = {
    "tarvoguide": ("塔沃输入法使用说明", "塔沃輸入法使用說明", "Tarvo input engine guide"),
    "TVOGUIDE": ("塔沃输入法入门", "塔沃輸入法入門", "Getting started with Tarvo"),
    "TVOEditGuide": ("词库编辑说明", "詞庫編輯說明", "Editing the word base"),
    "quorlinguide": ("编辑器使用说明", "編輯器使用說明", "Quorlin editor guide"),
    "typing_examples": ("输入举例", "輸入舉例", "Typing examples"),
    "aid_keys": ("辅助键说明", "輔助鍵說明", "Aid keys"),
    "quickstart": ("快速入门", "快速入門", "Quick start"),
    "sound_shape": ("音形结合输入", "音形結合輸入", "Sound and shape input"),
    "shapeguide": ("形码说明", "形碼說明", "Shape code guide"),
    "shapememo": ("字根记忆表", "字根記憶表", "Shape memo"),
    "shortcuts": ("快捷键", "快捷鍵", "Shortcut keys"),
}

_BODY = {
    "cn": ["本页说明塔沃中文输入引擎的一项功能。",
           "按空格键选第一个候选字，按数字键选其他候选字。",
           "更多内容请看目录中的其他帮助页。"],
    "b5": ["本頁說明塔沃中文輸入引擎的一項功能。",
           "按空白鍵選第一個候選字，按數字鍵選其他候選字。",
           "更多內容請看目錄中的其他說明頁。"],
    "en": ["This page explains one feature of the Tarvo Chinese Input Engine.",
           "Press the space bar to take the first candidate, a digit key for another one.",
           "See the other help pages in the contents for more."],
}
_CHARSET = {"cn": ("gb2312", "gbk"), "b5": ("big5", "big5"), "en": ("iso-8859-1", "ascii")}
_INDEX = {"cn": "返回目录", "b5": "返回目錄", "en": "Back to contents"}


def help_page(base, lang):
    """A short HTML page; lang is "cn" (GBK), "b5" (Big5) or "en"."""
    titles = HELP_PAGES[base]
    title = {"cn": titles[0], "b5": titles[1], "en": titles[2]}[lang]
    meta, codec = _CHARSET[lang]
    suffix = {"cn": "", "b5": "_b5", "en": "_en"}[lang]
    lines = ["<html>", "<head>",
             '<meta http-equiv="Content-Type" content="text/html; charset=%s">' % meta,
             "<title>%s</title>" % title, "</head>", "<body>", "<h1>%s</h1>" % title]
    lines += ["<p>%s</p>" % p for p in _BODY[lang]]
    lines.append("<table border=1>")
    for n in range(1, 13):
        lines.append("<tr><td>%d</td><td>%s %d</td></tr>" % (n, title, n))
    lines.append("</table>")
    lines.append('<p><a href="tarvoguide%s.htm">%s</a></p>' % (suffix, _INDEX[lang]))
    lines += ["</body>", "</html>"]
    return _crlf(lines).encode(codec)
