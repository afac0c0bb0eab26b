#include "engine/record_file.h"

#include <array>
#include <charconv>

#include "runtime/file_move.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

constexpr std::string_view kMagic = "ligamor";
constexpr std::string_view kVersion = "2";
constexpr std::string_view kEnd = "fim";
constexpr std::string_view kStop =
    "a integração fica parada, sem adivinhar o que ele dizia, até que alguém o confira";

std::string Hex8(std::uint32_t value)
{
    static const char digits[] = "0123456789abcdef";
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4) out[static_cast<std::size_t>(i)] = digits[value & 15];
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Digits as std::to_string writes them: no sign, no leading zero.
bool Canonical(std::string_view digits)
{
    if (digits.empty() || digits.size() > 20) return false;
    for (const char c : digits)
        if (c < '0' || c > '9') return false;
    return digits.size() == 1 || digits[0] != '0';
}

std::vector<std::string_view> SplitBlanks(std::string_view text)
{
    std::vector<std::string_view> fields;
    std::size_t from = 0;
    for (;;) {
        const std::size_t blank = text.find(' ', from);
        fields.push_back(text.substr(from, blank == std::string_view::npos ? std::string_view::npos : blank - from));
        if (blank == std::string_view::npos) return fields;
        from = blank + 1;
    }
}

// One pass over a file's lines, for both shapes.
class Reading {
public:
    Reading(std::string_view text, const std::string& path, const std::string& name, std::size_t fieldsBeforePath,
            const std::function<void(RecordFields&)>& parse)
        : text_(text), path_(path), name_(name), fieldsBeforePath_(fieldsBeforePath), parse_(parse)
    {
    }

    void Current();
    void Released();

private:
    [[noreturn]] void Cut() const
    {
        throw RecordFileFailure(RecordFileFailure::Kind::Cut, path_, line_, {}, std::string(kStop));
    }
    [[noreturn]] void Damaged(const std::string& detail) const
    {
        throw RecordFileFailure(RecordFileFailure::Kind::Damaged, path_, line_, detail, std::string(kStop));
    }
    // The next whole line without its CR LF; raises when the file stops short.
    std::string_view NextLine();
    void Record(std::vector<std::string_view> fields, std::string_view bare, bool released);

    std::string_view text_;
    const std::string& path_;
    const std::string& name_;
    std::size_t fieldsBeforePath_;
    const std::function<void(RecordFields&)>& parse_;
    std::size_t at_ = 0;    // the next line's first byte
    std::size_t line_ = 0;  // the number of the line being read, from 1
};

std::string_view Reading::NextLine()
{
    ++line_;
    const std::size_t lf = text_.find('\n', at_);
    if (lf == std::string_view::npos) Cut();
    const std::string_view line = text_.substr(at_, lf - at_);
    if (line.empty() || line.back() != '\r') Damaged("linha sem CR LF");
    if (line.find('\r') != line.size() - 1) Damaged("CR no meio da linha");
    at_ = lf + 1;
    return line.substr(0, line.size() - 1);
}

void Reading::Record(std::vector<std::string_view> fields, std::string_view bare, bool released)
{
    RecordFields record(std::move(fields), bare, released);
    try {
        parse_(record);
        if (!record.AllRead()) throw BadField{"campos a mais"};
    } catch (const BadField& bad) {
        Damaged(bad.detail);
    }
}

void Reading::Current()
{
    std::uint32_t crc = 0;
    std::size_t records = 0;
    bool ended = false;
    while (at_ < text_.size()) {
        if (ended) {
            ++line_;
            Damaged("bytes depois da linha fim");
        }
        const std::size_t start = at_;
        const std::string_view line = NextLine();
        const std::size_t blank = line.rfind(' ');
        if (blank == std::string_view::npos || line.size() - blank - 1 != 8) Damaged("sem soma de verificação");
        crc = Crc32(text_.substr(start, blank + 1), crc);
        if (line.substr(blank + 1) != Hex8(crc)) Damaged("soma de verificação errada");
        crc = Crc32(text_.substr(start + blank + 1, at_ - start - blank - 1), crc);
        const std::vector<std::string_view> fields = SplitBlanks(line.substr(0, blank));
        if (line_ == 1) {
            if (fields.size() != 3 || fields[0] != kMagic || fields[1] != name_ || fields[2] != kVersion)
                Damaged("cabeçalho de outro arquivo");
        } else if (fields[0] == kEnd) {
            if (fields.size() != 2 || !Canonical(fields[1]) || fields[1] != std::to_string(records))
                Damaged("contagem de registros errada");
            ended = true;
        } else {
            Record(fields, {}, false);
            ++records;
        }
    }
    if (!ended) {
        ++line_;
        Cut();
    }
}

void Reading::Released()
{
    while (at_ < text_.size()) {
        const std::string_view line = NextLine();
        std::vector<std::string_view> fields;
        std::size_t from = 0;
        for (std::size_t i = 0; i < fieldsBeforePath_; ++i) {
            const std::size_t blank = line.find(' ', from);
            if (blank == std::string_view::npos) Damaged("campos a menos");
            fields.push_back(line.substr(from, blank - from));
            from = blank + 1;
        }
        Record(std::move(fields), line.substr(from), true);
    }
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (const unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::string ChecksumText(std::string_view bytes)
{
    return Hex8(Crc32(bytes));
}

RecordFileFailure::RecordFileFailure(Kind kind, const std::string& path, std::size_t line, const std::string& detail,
                                     const std::string& consequence)
    : IoFailure(kDamagedFileCode,
                Cp1252("O arquivo \"") + Cp1252FromLocal(path) +
                    Cp1252(kind == Kind::Cut ? "\" foi cortado na linha " + std::to_string(line) +
                                                   " (a gravação foi interrompida, como numa queda de energia)"
                                             : "\" está danificado na linha " + std::to_string(line) + ": " + detail) +
                    (consequence.empty() ? "" : "; " + Cp1252(consequence))),
      kind_(kind),
      line_(line)
{
}

std::string_view RecordFields::Next(const char* what)
{
    if (next_ >= fields_.size()) throw BadField{std::string("falta ") + what};
    return fields_[next_++];
}

std::uint64_t RecordFields::Unsigned(std::uint64_t max)
{
    const std::string_view digits = Next("um número");
    std::uint64_t value = 0;
    if (!Canonical(digits) || std::from_chars(digits.data(), digits.data() + digits.size(), value).ec != std::errc{} ||
        value > max)
        throw BadField{"número fora do limite"};
    return value;
}

std::int64_t RecordFields::Signed(std::int64_t min, std::int64_t max)
{
    const std::string_view text = Next("um número");
    const bool negative = !text.empty() && text[0] == '-';
    std::int64_t value = 0;
    if (!Canonical(text.substr(negative ? 1 : 0)) || (negative && text == "-0") ||
        std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc{} || value < min ||
        value > max)
        throw BadField{"número fora do limite"};
    return value;
}

bool RecordFields::Flag()
{
    return Unsigned(1) == 1;
}

std::string RecordFields::Text()
{
    const std::string_view hex = Next("um texto");
    if (hex.empty() || hex[0] != 'x' || hex.size() % 2 != 1) throw BadField{"texto inválido"};
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 1; i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]), low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) throw BadField{"texto inválido"};
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

std::string RecordFields::Path()
{
    std::string path = released_ ? std::string(bare_) : Text();
    if (path.empty()) throw BadField{"caminho vazio"};
    return path;
}

void ParseRecordFile(std::string_view bytes, const std::string& path, const std::string& name,
                     std::size_t fieldsBeforePath, const std::function<void(RecordFields&)>& parse)
{
    // Zero bytes at the end: blocks of a cut write that never reached the disk.
    std::size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\0') --end;
    Reading reading(bytes.substr(0, end), path, name, fieldsBeforePath, parse);
    if (end == 0) {
        // Nothing written, or nothing of it reached the disk: never "no records".
        reading.Current();
    } else if (bytes.substr(0, kMagic.size() + 1) == std::string(kMagic) + " ") {
        reading.Current();
    } else {
        reading.Released();
    }
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    const ReadOnlyFile file(path);
    if (file.OpenError() != 0) {
        if (file.Missing()) return false;
        throw IoFailure(OsErrorCode(file.OpenError()), Cp1252("Não foi possível ler o arquivo \"") +
                                                           Cp1252FromLocal(path) + "\": " +
                                                           OsErrorReason(file.OpenError()));
    }
    if (!file.IsRegular())
        throw IoFailure(kDamagedFileCode, Cp1252("O caminho \"") + Cp1252FromLocal(path) +
                                              Cp1252("\" não é um arquivo e não pode ser lido"));
    bytes = file.Read(0, static_cast<std::size_t>(-1));
    return true;
}

RecordFileWriter::RecordFileWriter(const std::string& name)
{
    Line(std::string(kMagic) + " " + name + " " + std::string(kVersion), bytes_, crc_);
}

void RecordFileWriter::Line(const std::string& text, std::string& out, std::uint32_t& crc) const
{
    const std::size_t start = out.size();
    out += text + " ";
    crc = Crc32(std::string_view(out).substr(start), crc);
    const std::string tail = Hex8(crc) + "\r\n";
    crc = Crc32(tail, crc);
    out += tail;
}

RecordFileWriter& RecordFileWriter::Unsigned(std::uint64_t value)
{
    if (!record_.empty()) record_ += ' ';
    record_ += std::to_string(value);
    return *this;
}

RecordFileWriter& RecordFileWriter::Signed(std::int64_t value)
{
    if (!record_.empty()) record_ += ' ';
    record_ += std::to_string(value);
    return *this;
}

RecordFileWriter& RecordFileWriter::Flag(bool value)
{
    return Unsigned(value ? 1 : 0);
}

RecordFileWriter& RecordFileWriter::Text(std::string_view bytes)
{
    static const char digits[] = "0123456789abcdef";
    if (!record_.empty()) record_ += ' ';
    record_ += 'x';
    for (const unsigned char c : bytes) {
        record_ += digits[c >> 4];
        record_ += digits[c & 15];
    }
    return *this;
}

void RecordFileWriter::EndRecord()
{
    Line(record_, bytes_, crc_);
    record_.clear();
    ++count_;
}

std::string RecordFileWriter::Bytes() const
{
    std::string out = bytes_;
    std::uint32_t crc = crc_;
    Line(std::string(kEnd) + " " + std::to_string(count_), out, crc);
    return out;
}

void SaveRecordFile(const std::string& path, const RecordFileWriter& writer)
{
    if (writer.Count() == 0) {
        if (const int error = RemoveFileIfPresent(path); error != 0) throw IoFailure(OsErrorCode(error));
        return;
    }
    ReplaceWholeFile(path, writer.Bytes(), FileAccess::Owner);
}

}  // namespace ligamor
