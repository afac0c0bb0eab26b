#include "engine/line_keys.h"

#include "engine/record_kinds.h"
#include "engine/record_line.h"
#include "runtime/blanks.h"
#include "runtime/text1252.h"

namespace ligamor {

namespace {

// The line's codes are Windows-1252 bytes; the keys go into reasons as UTF-8.
std::string Key(std::string_view what, const std::string& code)
{
    const std::string trimmed = TrimBlanks(code);
    return what.empty() || trimmed.empty() ? std::string() : std::string(what) + Utf8FromCp1252(trimmed);
}

}  // namespace

LineKeys KeysOfLine(std::size_t row, const std::string& line)
{
    LineKeys keys;
    if (row >= kRecordKindCount) return keys;
    const RecordKind& kind = kRecordKinds[row];
    const RecordLine r = SplitRecordLine(line, kind.fields);
    keys.own = Key(kind.own.what, r.fields[kind.own.field]);
    if (!kind.part.what.empty()) {
        // A part of a record ("o item 1 da pré-venda 70") is named only with both.
        const std::string part = Key(kind.part.what, r.fields[kind.part.field]);
        keys.own = part.empty() || keys.own.empty() ? std::string() : part + " d" + keys.own;
    }
    for (const KeyField& need : kind.needs)
        if (std::string key = Key(need.what, r.fields[need.field]); !key.empty()) keys.needs.push_back(std::move(key));
    return keys;
}

std::string WaitingFor(const std::string& key)
{
    return "aguardando " + key;
}

}  // namespace ligamor
