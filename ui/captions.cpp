// The caption tables: data, written once, keyed by the names of the resource
// ids.
#include "ui/captions.h"

#include "resources/resource_ids.h"
#include "ui/wizard_state.h"

namespace {

constexpr const char* CancelCaption = "取消 Cancel";

constexpr OwnerCaption WizardRows[] = {
    {IDCANCEL, CaptionFixed, CancelCaption, true, true, 'C'},
    {IDC_BACK, CaptionFixed, "退一步 Back", true, true, 'B'},
    {IDC_NEXT, CaptionNextButton, nullptr, true, true, 0},     // NextButtons
    {IDC_BROWSE, CaptionFixed, "改变 Browse ....", true, true, 'R'},
    {IDC_PATH_LABEL, CaptionFixed, "安装路径： (Install Path)", false, false, 0},
    {IDC_TITLE_LINE1, CaptionFixed, "《Tarvo》 Tarvo", true, false, 0},
    {IDC_TITLE_LINE2, CaptionFixed, "中文输入引擎 Input Engine", true, false, 0},
    {IDC_TITLE_LINE3, CaptionFixed, "安装程序", true, false, 0},
    {IDC_DISPLAY_QUESTION, CaptionFixed, "以上中文显示正确吗 (Is the Above Chinese Display OK)?", true, false, 0},
    {IDC_SAMPLE_LINE, CaptionSampleLine, "日出江花红胜火", true, false, 0},
    {IDC_LEFT_LABEL, CaptionNothing, nullptr, false, false, 0},
    {IDC_WAIT_LABEL, CaptionEmpty, "", false, false, 0},
    {IDC_LANGUAGE_LABEL, CaptionFixed, "User Interface Language 用户界面语言", true, false, 0},
};

// Next on the pages before the last, then the install button of the last
// page and while installing.
struct NextButton {
    const char* Text;
    char AccessKey;
};
constexpr NextButton NextButtons[] = {
    {"下一步 Next", 'N'},
    {"同意/安装 Agree/Install", 'I'},
};

const NextButton& NextButtonFor(int wizardState)
{
    return NextButtons[wizardState < PageLanguage ? 0 : 1];
}

constexpr OwnerCaption MessageRows[] = {
    {IDOK, CaptionFixed, "确认 OK", true, true, 'O'},
    {IDCANCEL, CaptionFixed, CancelCaption, true, true, 'C'},
    {IDYES, CaptionFixed, "是 Yes", true, true, 'Y'},
    {IDNO, CaptionFixed, "否 No", true, true, 'N'},
    {IDRETRY, CaptionFixed, "重试 Retry", true, true, 'R'},
    {IDC_MSG_CHINESE, CaptionWindowText, nullptr, true, false, 0},
};

constexpr OwnerCaption BrowserRows[] = {
    {IDCANCEL, CaptionFixed, CancelCaption, true, true, 'C'},
    {IDC_BROWSER_DIRS_LABEL, CaptionFixed, "路径 (Directories):", false, false, 0},
    {IDC_BROWSER_DRIVES_LABEL, CaptionFixed, "磁盘 (Drives):", false, false, 0},
};

constexpr OwnerCaption OtherControl{0, CaptionWindowText, nullptr, true, true, 0};

// The two answers of the display test share the letters of "OK" and "NO"
// with each other and with Next: OK takes K, NO takes O.
constexpr CheckBoxCaption CheckBoxCaptions[] = {
    {IDC_DESKTOP_ICONS, "建立桌面图标？  (Place an icon on Desktop)", 'D'},
    {IDC_AUTO_START, "开机时自动启动？(Auto-start on boot)", 'A'},
    {IDC_DISPLAY_OK, "正确(OK)", 'K'},
    {IDC_DISPLAY_NO, "不正确(NO)", 'O'},
};

template <size_t N>
constexpr CaptionTable TableOf(const OwnerCaption (&rows)[N], int defaultButton)
{
    return CaptionTable{rows, N, defaultButton};
}

}  // namespace

const CaptionTable WizardCaptions = TableOf(WizardRows, IDC_NEXT);
const CaptionTable MessageCaptions = TableOf(MessageRows, 0);
const CaptionTable BrowserCaptions = TableOf(BrowserRows, 0);

const OwnerCaption& OwnerCaptionFor(const CaptionTable& table, int controlId)
{
    for (size_t i = 0; i < table.Count; ++i)
        if (table.Rows[i].Id == controlId)
            return table.Rows[i];
    return OtherControl;
}

const char* NextButtonCaption(int wizardState)
{
    return NextButtonFor(wizardState).Text;
}

const char* RowCaption(const OwnerCaption& row, int wizardState)
{
    switch (row.Source) {
    case CaptionNextButton: return NextButtonCaption(wizardState);
    case CaptionWindowText:
    case CaptionNothing: return nullptr;
    default: return row.Text;
    }
}

char RowAccessKey(const OwnerCaption& row, int wizardState)
{
    return row.Source == CaptionNextButton ? NextButtonFor(wizardState).AccessKey : row.AccessKey;
}

int IsPushButton(const CaptionTable& table, int controlId)
{
    for (size_t i = 0; i < table.Count; ++i)
        if (table.Rows[i].Id == controlId)
            return table.Rows[i].Frame;
    return 0;
}

int WearsDefaultFrame(const CaptionTable& table, int controlId, int hasFocus,
                      int otherPushButtonFocused)
{
    if (!table.DefaultButton)
        return 0;
    if (hasFocus)
        return 1;
    return controlId == table.DefaultButton && !otherPushButtonFocused;
}

const CheckBoxCaption* CheckBoxCaptionFor(int controlId)
{
    for (const CheckBoxCaption& row : CheckBoxCaptions)
        if (row.Id == controlId)
            return &row;
    return nullptr;
}
