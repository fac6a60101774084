// The bilingual captions of every owner-drawn control, one table per dialog:
// the ids of the wizard, the message box and the folder browser overlap, so
// each dialog hands the painter its own table.
#pragma once
#include <windows.h>
#include <stddef.h>

// Where a control's caption comes from.
enum CaptionSource {
    CaptionFixed,       // Text
    CaptionWindowText,  // the text its dialog keeps for it (the control's user
                        // data), else the control's own window text
    CaptionNextButton,  // by WizardState (NextButtonCaption)
    CaptionSampleLine,  // Text, drawn with SampleFont through DrawSampleText
    CaptionEmpty,       // background only
    CaptionNothing      // not even the background
};

// A control's access key: the letter that Alt (or the letter alone, while
// the focus is on no text field) presses it with, as a click does. It stands
// in the caption's English part, where the painter underlines it and the
// window text marks it with "&"; the keys of the controls a dialog shows
// together differ. 0 for none.
struct OwnerCaption {
    int Id;
    CaptionSource Source;
    const char* Text;
    bool Centred;
    bool Frame;         // a push button: 3-D frame, and the default frame when it is the default
    char AccessKey;
};

struct CaptionTable {
    const OwnerCaption* Rows;
    size_t Count;
    // The button Enter presses while the focus is on no push button, which
    // then wears the default frame; a focused push button wears it
    // otherwise. 0: no default frame at all.
    int DefaultButton;
};

extern const CaptionTable WizardCaptions;   // template 113
extern const CaptionTable MessageCaptions;  // template 112
extern const CaptionTable BrowserCaptions;  // template 168

// The row for a control id; ids without a row get the window-text row
// (centred, framed).
const OwnerCaption& OwnerCaptionFor(const CaptionTable& table, int controlId);
const char* NextButtonCaption(int wizardState);
// The caption a row draws whatever its control holds: its text, or the Next
// button's by the wizard state. Null for the rows drawn from the control's
// own text and for the row that draws nothing.
const char* RowCaption(const OwnerCaption& row, int wizardState);
// The access key of a row's caption, the Next button's by the wizard state.
char RowAccessKey(const OwnerCaption& row, int wizardState);
// 1 for a push button of the table's dialog (a row with a frame).
int IsPushButton(const CaptionTable& table, int controlId);
// Whether a push button wears the default frame: the focused one does, and
// the table's default button while no other push button has the focus.
int WearsDefaultFrame(const CaptionTable& table, int controlId, int hasFocus,
                      int otherPushButtonFocused);

// A caption of the wizard's painted check boxes, with its access key.
struct CheckBoxCaption {
    int Id;
    const char* Text;
    char AccessKey;
};
// The row of a wizard check box; null for an id of its own window text.
const CheckBoxCaption* CheckBoxCaptionFor(int controlId);
