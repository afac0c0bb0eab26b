#pragma once
// Our own record files beside the shop's (.ligamor.aplicados,
// .ligamor.separadas): one format, one writer, one strict reader.
//
//   ligamor .ligamor.aplicados 2 c5582f23
//   1 2049 131 4 1796000000000000000 1796000000000000001 x2f4c4f4a412f454e56494f2f50524f4455544f2e545854 469f9be6
//   fim 1 524dc856
//
// One line a record, CR LF after each; fields apart by one blank: numbers in
// decimal as std::to_string writes them, texts as "x" and their bytes in
// hexadecimal (a text may hold any byte), so the file is ASCII. Every line ends
// with the CRC-32 of the file from its first byte up to that checksum, so the
// last one vouches for the whole file; "fim" counts the records.
//
// The files are only ever replaced whole (a new file flushed, then renamed),
// never appended, so a file that stops short is not an earlier state of the
// record: its records are a part of a newer one, and the rest is lost. Reading
// tells two failures apart, and both stop the cycle, naming the file, rather
// than guess what it said:
// - cut: the file is empty, or ends (perhaps with zero bytes, as a file system
//   leaves a file whose blocks never reached the disk) before its "fim" line
//   while every whole line before is sound: a write that a power cut stopped;
// - damaged: a whole line whose checksum, shape or number is wrong, a header of
//   another file, a count that disagrees, bytes after "fim".
//
// The released version wrote the same fields without header, checksums or
// "fim", its path last and bare (it may hold blanks). That shape is still read,
// as strictly (a line without its CR LF is a cut), and the next write replaces
// it with this one. A cut between two of its lines cannot be seen.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/failures.h"

namespace ligamor {

// The CRC-32 of IEEE 802.3 (as zlib's crc32), continued from crc.
std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);
// Crc32(bytes) as eight lowercase hexadecimal digits.
std::string ChecksumText(std::string_view bytes);

// A record file, or the status file, that cannot be read: its message, in
// Portuguese (Windows-1252), names the file and the line.
class RecordFileFailure : public IoFailure {
public:
    enum class Kind { Cut, Damaged };
    // detail: what is wrong with a damaged line, UTF-8; consequence: what
    // follows for the reader, UTF-8, after "; ", or empty.
    RecordFileFailure(Kind kind, const std::string& path, std::size_t line, const std::string& detail,
                      const std::string& consequence);
    Kind Reason() const { return kind_; }
    std::size_t Line() const { return line_; }

private:
    Kind kind_;
    std::size_t line_;
};

// Windows' own code for a file whose content is damaged (ERROR_FILE_CORRUPT).
inline constexpr int kDamagedFileCode = 1392;

// One record's fields, read in the order they were written; each read checks
// its field's shape and range and raises a damaged-file failure otherwise.
class RecordFields {
public:
    RecordFields(std::vector<std::string_view> fields, std::string_view bare, bool released)
        : fields_(std::move(fields)), bare_(bare), released_(released)
    {
    }
    std::uint64_t Unsigned(std::uint64_t max = UINT64_MAX);
    std::int64_t Signed(std::int64_t min = INT64_MIN, std::int64_t max = INT64_MAX);
    bool Flag();
    std::string Text();
    // The path, last: a text, or in the released shape the rest of the line.
    std::string Path();
    bool AllRead() const { return next_ == fields_.size(); }

private:
    std::string_view Next(const char* what);
    std::vector<std::string_view> fields_;
    std::size_t next_ = 0;
    std::string_view bare_;  // released shape: the line after the fields before the path
    bool released_;
};

// Raised by a field's check: what is wrong, UTF-8. The reader adds file and line.
struct BadField {
    std::string detail;
};

// The records of a file's bytes, each handed to parse; path and name
// (".ligamor.separadas") for the header and the failure. fieldsBeforePath:
// how many fields stand before the bare path of a released-shape line.
void ParseRecordFile(std::string_view bytes, const std::string& path, const std::string& name,
                     std::size_t fieldsBeforePath, const std::function<void(RecordFields&)>& parse);

// The whole file; false when there is none. Raises IoFailure when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Builds a record file: fields of the current record, then EndRecord().
class RecordFileWriter {
public:
    explicit RecordFileWriter(const std::string& name);
    RecordFileWriter& Unsigned(std::uint64_t value);
    RecordFileWriter& Signed(std::int64_t value);
    RecordFileWriter& Flag(bool value);
    RecordFileWriter& Text(std::string_view bytes);
    void EndRecord();
    std::size_t Count() const { return count_; }
    // The file's bytes, its "fim" line included.
    std::string Bytes() const;

private:
    void Line(const std::string& text, std::string& out, std::uint32_t& crc) const;
    std::string bytes_;
    std::uint32_t crc_ = 0;
    std::string record_;
    std::size_t count_ = 0;
};

// Replaces the file at path whole with the writer's bytes, for its owner alone
// (only the integration holding the send directory's lock reads or writes it);
// no records removes it. Raises IoFailure.
void SaveRecordFile(const std::string& path, const RecordFileWriter& writer);

}  // namespace ligamor
