// The caption tables: data, written once, keyed by the names of the resource
// ids.
#include "ui/captions.h"

#include "resources/resource_ids.h"
#include "ui/wizard_state.h"

namespace {

constexpr const char* CancelCaption = "取消 Cancel";

constexpr OwnerCaption WizardRows[] = {
    {IDCANCEL, CaptionFixed, CancelCaption, true, true},
    {IDC_BACK, CaptionFixed, "退一步 Back", true, true},
    {IDC_NEXT, CaptionNextButton, nullptr, true, true},
    {IDC_BROWSE, CaptionFixed, "改变 Browse ....", true, true},
    {IDC_PATH_LABEL, CaptionFixed, "安装路径： (Install Path)", false, false},
    {IDC_TITLE_LINE1, CaptionFixed, "《Tarvo》 Tarvo", true, false},
    {IDC_TITLE_LINE2, CaptionFixed, "中文输入引擎 Input Engine", true, false},
    {IDC_TITLE_LINE3, CaptionFixed, "安装程序", true, false},
    {IDC_DISPLAY_QUESTION, CaptionFixed, "以上中文显示正确吗 (Is the Above Chinese Display OK)?", true, false},
    {IDC_SAMPLE_LINE, CaptionSampleLine, "日出江花红胜火", true, false},
    {IDC_LEFT_LABEL, CaptionNothing, nullptr, false, false},
    {IDC_WAIT_LABEL, CaptionEmpty, "", false, false},
    {IDC_LANGUAGE_LABEL, CaptionFixed, "User Interface Language 用户界面语言", true, false},
};

constexpr OwnerCaption MessageRows[] = {
    {IDOK, CaptionFixed, "确认 OK", true, true},
    {IDCANCEL, CaptionFixed, CancelCaption, true, true},
    {IDYES, CaptionFixed, "是 Yes", true, true},
    {IDNO, CaptionFixed, "否 No", true, true},
    {IDRETRY, CaptionFixed, "重试 Retry", true, true},
    {IDC_MSG_CHINESE, CaptionWindowText, nullptr, true, false},
};

constexpr OwnerCaption BrowserRows[] = {
    {IDCANCEL, CaptionFixed, CancelCaption, true, true},
    {IDC_BROWSER_DIRS_LABEL, CaptionFixed, "路径 (Directories):", false, false},
    {IDC_BROWSER_DRIVES_LABEL, CaptionFixed, "磁盘 (Drives):", false, false},
};

constexpr OwnerCaption OtherControl{0, CaptionWindowText, nullptr, true, true};

struct CheckBoxCaption {
    int Id;
    const char* Text;
};

constexpr CheckBoxCaption CheckBoxCaptions[] = {
    {IDC_DESKTOP_ICONS, "建立桌面图标？  (Place an icon on Desktop)"},
    {IDC_AUTO_START, "开机时自动启动？(Auto-start on boot)"},
    {IDC_DISPLAY_OK, "正确(OK)"},
    {IDC_DISPLAY_NO, "不正确(NO)"},
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
    return wizardState < PageLanguage ? "下一步 Next" : "同意/安装 Agree/Install";
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

const char* CheckBoxCaptionFor(int controlId)
{
    for (const CheckBoxCaption& row : CheckBoxCaptions)
        if (row.Id == controlId)
            return row.Text;
    return nullptr;
}
