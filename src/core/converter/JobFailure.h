#pragma once
// Filling in the cause of a failed operation.

#include "core/converter/ChildProcess.h"
#include "core/converter/ConvertError.h"

#include <string>

namespace Converter {

// Sets the error (code 201, message = input) when the caller wants one.
void setFailure(ConvertError* error, const std::wstring& input, int reason, const std::wstring& detail);

// The cause of a failed qpdf run, from what qpdf wrote on standard error.
void setQpdfFailure(ConvertError* error, const std::wstring& input, const ChildProcess::Result& run,
                    bool passwordGiven);

// True when input names a regular file (through links). Otherwise sets the failure (reported
// under the name reported) and returns false: qpdf would wait forever on a FIFO or a device.
bool checkInputFile(ConvertError* error, const std::wstring& reported, const std::wstring& input);

// The text of an errno value.
std::wstring systemErrorText(int errorNumber);

} // namespace Converter
