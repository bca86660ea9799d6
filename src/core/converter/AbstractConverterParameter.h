#pragma once
// What every job needs to know besides its input: the extension of what it writes.

#include <string>

namespace Converter {

class AbstractConverterParameter {
public:
    virtual ~AbstractConverterParameter();

    // Without the dot ("pdf").
    const std::wstring& targetExtension() const { return m_targetExtension; }
    void setTargetExtension(const std::wstring& extension) { m_targetExtension = extension; }

protected:
    std::wstring m_targetExtension;
};

} // namespace Converter
