#pragma once

#include <optional>

namespace platform {
class TextBox;
}

// Cleans a numeric entry field down to a number-like text: digits, at most one point and,
// for signed fields, a leading minus (platform::CleanNumber). A text in the program's own
// number form is kept whole. It never refuses input and never shows a message.
class clsValidator
{
public:
    clsValidator() = default;
    ~clsValidator();  // Class_Terminate: forgets the bound box
    clsValidator(const clsValidator &) = delete;
    clsValidator &operator=(const clsValidator &) = delete;

    // Kind 1: signed decimal number; kind 2: unsigned; any other kind: no check.
    void SetCheck(platform::TextBox *txtBox, short iTypeOfCheck);
    // Cleans the bound box in place and returns it.
    platform::TextBox *GetTxtBox();

private:
    void RunCheck();

    platform::TextBox *m_box = nullptr;
    short m_kind = 0;
};

// Cleans the box as a signed number field (kind 1) and answers the number its text starts
// with, or nothing when the box is left empty.
std::optional<double> CleanToNumber(clsValidator &validator, platform::TextBox *box);
