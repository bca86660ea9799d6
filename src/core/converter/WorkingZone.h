#pragma once
// The working zones of the PDF operations, as stored in rows and sent in messages, and one
// table that says what each of them means: its file list, its row form, the text id of its
// output suffix, its operation, its converter kind and the words naming it.

#include <string>

class WorkingZone {
public:
    enum Value : int { Extract = 9, Compress = 10, Decrypt = 11, Merge = 12, Split = 13 };
    static constexpr int kFirst = Extract;
    static constexpr int kLast = Split;

    // WithPage rows carry an editable page range; Split rows the whole document.
    enum class RowForm { WithPage, Split };

    struct Info {
        Value zone;
        const wchar_t* listName;
        RowForm rowForm;
        int suffixText;    // text id of the output suffix; 0 for split, which writes a folder
        int operation;     // PdfHandleParameter::Type
        int converterKind; // AbstractConverter::kind() of the converter that runs it
        const wchar_t* startEnglish;
        const wchar_t* startChinese;
        const wchar_t* statusEnglish;
        const wchar_t* statusChinese;
    };

    static bool isPdf(int zone) { return zone >= kFirst && zone <= kLast; }
    // Null for any zone that is not a PDF zone.
    static const Info* info(int zone);
    // The zone whose file list has this name, or -1.
    static int ofList(const std::wstring& listName);
};
