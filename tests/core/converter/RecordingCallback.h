#pragma once
// A callback that writes down everything a converter tells it.

#include "core/converter/PdfHandleCallback.h"

#include <string>
#include <vector>

struct ProgressCall {
    int type, current, total;
    bool operator==(const ProgressCall&) const = default;
};

class RecordingCallback : public Converter::PdfHandleCallback {
public:
    void onProgress(int type, int current, int total) override { progress.push_back({type, current, total}); }
    void onOversizePages(const std::vector<int>& pages) override { oversize.push_back(pages); }
    void onError(ConvertError error, const std::string& sourceFile, int line) override
    {
        errors.push_back(error);
        source = sourceFile;
        this->line = line;
    }
    void onFinished(bool ok, const std::wstring& input, const std::wstring& output) override
    {
        ++finished;
        this->ok = ok;
        inputPath = input;
        outputPath = output;
    }

    std::vector<ProgressCall> progress;
    std::vector<ConvertError> errors;
    std::vector<std::vector<int>> oversize; // one entry per call
    std::string source;
    int line = 0;
    int finished = 0;
    bool ok = false;
    std::wstring inputPath, outputPath;
};
