#pragma once
// A file for qpdf to read, read in large blocks with pread. qpdf's own file source seeks the
// C stream before every small read (its tokenizer reads 128 bytes at a time), and each of those
// seeks is a system call: a tenth of a split's processor time.

#include <qpdf/InputSource.hh>

#include <string>
#include <vector>

class FileBlockSource : public InputSource {
public:
    // Throws std::runtime_error when the file cannot be opened.
    explicit FileBlockSource(const std::string& path);
    // The file with its bytes from cut on replaced by tail.
    FileBlockSource(const std::string& path, qpdf_offset_t cut, std::string tail);
    ~FileBlockSource() override;
    FileBlockSource(const FileBlockSource&) = delete;
    FileBlockSource& operator=(const FileBlockSource&) = delete;

    qpdf_offset_t findAndSkipNextEOL() override;
    std::string const& getName() const override { return m_name; }
    qpdf_offset_t tell() override { return m_position; }
    void seek(qpdf_offset_t offset, int whence) override;
    void rewind() override { m_position = 0; }
    size_t read(char* buffer, size_t length) override;
    void unreadCh(char ch) override;

private:
    // Makes the block hold the position; false at the end of the file.
    bool fill();
    // Bytes at the position, from the block (loaded when needed); fewer only at the end.
    size_t copyOut(char* buffer, size_t length);
    size_t readAt(qpdf_offset_t offset, char* buffer, size_t length) const;
    size_t readFile(qpdf_offset_t offset, char* buffer, size_t length) const;

    std::string m_name;
    int m_fd = -1;
    qpdf_offset_t m_position = 0;
    std::vector<char> m_block;
    qpdf_offset_t m_blockStart = 0;
    size_t m_blockLength = 0;
    // -1 when the file is read as it is.
    qpdf_offset_t m_cut = -1;
    std::string m_tail;
};
