#pragma once
// How a converter reports the end of a job, and where it parks the child process it runs.

#include "core/converter/ConvertError.h"

#include <string>

namespace Converter {

class ProcessSlot;

class AbstractConverterCallback {
public:
    virtual ~AbstractConverterCallback();

    // A failure, with the source file and line where it was detected.
    virtual void onError(ConvertError error, const std::string& sourceFile, int line) = 0;
    // The end of the job; called exactly once per run, also after onError.
    virtual void onFinished(bool ok, const std::wstring& inputPath, const std::wstring& outputPath) = 0;

    // The slot belongs to the caller and must outlive the job; null means nobody can cancel.
    void setProcessSlot(ProcessSlot* slot) { m_processSlot = slot; }
    ProcessSlot* processSlot() const { return m_processSlot; }

protected:
    ProcessSlot* m_processSlot = nullptr;
};

} // namespace Converter
