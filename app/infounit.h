// The personal-information editor and the load, save and copy of the personal-information file.
#pragma once

#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"

#include <string>

// Turns lone CR and lone LF into CR LF and cuts the bytes at the first NUL.
std::string NormalizeLineBreaks(const std::string& bytes);

// The most characters the personal-information text box takes: a larger text is refused at load with
// "Text exceeds memo capacity" (the word-wrapping text box takes too long over larger ones).
constexpr size_t kMemoCapacity = size_t{384} * 1024;

class Tinfoform : public TForm {
public:
    explicit Tinfoform(TComponent* AOwner);

    TMemo* Memo1;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;

    // Replaces the text box's text with the file's. Raises "Cannot open file <path>" when it cannot be read
    // (the text box keeps its text), "Text exceeds memo capacity" when the text is too large for the text
    // box (it is then left empty and read-only, and a save writes nothing until a load succeeds).
    void LoadPersonalInfo();
    // Writes the text box's text to the file as GB2312. The old file is replaced only once the new text
    // is wholly written; raises "Cannot create file <path>" (or the write error) and keeps the old file.
    void SavePersonalInfo();
    // The edit command: load, then the editor, modally.
    void EditPersonalInfo();
    // The copy command: load, then the whole text to the clipboard, without showing the editor.
    void CopyPersonalInfo();
    void BitBtn1Click(TObject* Sender);

private:
    [[noreturn]] void RefuseText();
    // Whether the text box's text came from a complete load (and any edits since).
    bool loaded_ = false;
    // What the last load read: its bytes (line breaks made CR LF) and the text they gave, so that saving
    // an unedited text writes back exactly the bytes read, whatever the code page made of them. When the
    // file held a NUL byte the text stops there; an unedited save then keeps the file's own bytes whole.
    std::string loadedBytes_;
    std::wstring loadedText_;
    std::string rawBytes_;
    bool cutAtNul_ = false;
};

extern Tinfoform* infoform;
