#pragma once
// The workers behind a file list: the inspection of added files, the conversion dispatcher and
// the per-file runner. They talk to the window only through the message seam and touch rows
// only through the registry, checking each time that the row still exists.

#include "core/converter/AbstractConverter.h"
#include "core/converter/AbstractConverterCallback.h"
#include "core/converter/AbstractConverterParameter.h"
#include "core/converter/File.h"
#include "core/message/MessageSink.h"

#include <memory>
#include <string>

class RowRegistry;

namespace ConversionTasks {

// Inspects the zone's rows that are not inspected yet: encryption, decryption (asking the
// window for a password when needed), page count. Ends with WM_FILE_CHECK_DONE.
void inspectFiles(std::shared_ptr<RowRegistry> registry, WindowHandle window, int zone);

// Converts the zone's pending rows one after another (a merge in one run) and ends with
// WM_RUN_FINISHED.
void dispatchConversion(std::shared_ptr<Converter::AbstractConverter> converter,
                        std::shared_ptr<Converter::AbstractConverterParameter> parameter,
                        std::shared_ptr<Converter::AbstractConverterCallback> callback, int zone,
                        WindowHandle window, std::wstring listName,
                        std::shared_ptr<RowRegistry> registry);

// One job on the calling thread.
void runOneFile(std::shared_ptr<Converter::File> file, std::wstring output,
                std::shared_ptr<Converter::AbstractConverter> converter,
                std::shared_ptr<Converter::AbstractConverterParameter> parameter,
                std::shared_ptr<Converter::AbstractConverterCallback> callback);

// The callback of a zone's run: a merge callback for the merge zone, else a single-file callback;
// its process slot is the zone's slot in the registry.
std::shared_ptr<Converter::AbstractConverterCallback> createCallback(
    int zone, WindowHandle window, std::shared_ptr<RowRegistry> registry);

// The zone whose run a list reports when it finishes; -1 for other lists.
int zoneOfList(const std::wstring& listName);

} // namespace ConversionTasks
