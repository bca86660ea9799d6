#pragma once
// Runs one job synchronously on the calling thread.

#include <memory>
#include <string>

namespace Converter {

class File;
class AbstractConverterParameter;
class AbstractConverterCallback;

class AbstractConverter {
public:
    // The kinds of converter; the zone table names the one each zone runs.
    static constexpr int kPdfKind = 4;

    explicit AbstractConverter(int kind) : m_kind(kind) {}
    virtual ~AbstractConverter();

    // output is a file path, or for a split the folder that receives the pieces.
    virtual void run(std::shared_ptr<File> file, const std::wstring& output,
                     std::shared_ptr<AbstractConverterParameter> parameter,
                     std::shared_ptr<AbstractConverterCallback> callback) = 0;

    int kind() const { return m_kind; }

protected:
    int m_kind;
};

} // namespace Converter
