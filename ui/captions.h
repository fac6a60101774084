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

struct OwnerCaption {
    int Id;
    CaptionSource Source;
    const char* Text;
    bool Centred;
    bool Frame;
};

struct CaptionTable {
    const OwnerCaption* Rows;
    size_t Count;
    int DefaultButton;  // drawn with the default frame; 0 for none
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
// The wizard's check boxes' captions; null for an id of its own window text.
const char* CheckBoxCaptionFor(int controlId);
