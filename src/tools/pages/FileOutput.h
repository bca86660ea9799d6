#pragma once
// Where a written document's bytes go: a file, filled in blocks. The writer finishes its
// pipeline after every stream it writes, which for qpdf's own file output means a write to the
// system for each (4,000 for a merge of two 2,000-page files); here the bytes go out only when
// a block is full and at close().

#include <qpdf/Pipeline.hh>

#include <cstddef>
#include <string>

class FileOutput : public Pipeline {
public:
    // Creates or empties the file; throws std::runtime_error when it cannot.
    explicit FileOutput(const std::string& path);
    ~FileOutput() override;
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    void write(unsigned char const* data, size_t length) override;
    void finish() override {}
    // Writes out what is left and closes the file; throws std::runtime_error when the system
    // refuses any of it (a full disk).
    void close();

private:
    void writeOut(unsigned char const* data, size_t length);

    // In the object, which lives on the stack while a document is written: a block taken from
    // the heap for every piece of a split into single pages would be one more that the heap
    // keeps at its peak.
    static constexpr std::size_t kBlock = 16 << 10;
    std::string m_path;
    int m_fd = -1;
    std::size_t m_used = 0;
    unsigned char m_block[kBlock];
};
