#include "engine/line_keys.h"

#include "engine/record_line.h"
#include "runtime/blanks.h"

namespace ligamor {

namespace {

std::string Key(const char* what, const std::string& code)
{
    const std::string trimmed = TrimBlanks(code);
    return trimmed.empty() ? std::string() : what + trimmed;
}

void Need(LineKeys& keys, std::string key)
{
    if (!key.empty()) keys.needs.push_back(std::move(key));
}

}  // namespace

LineKeys KeysOfLine(std::size_t row, const std::string& line)
{
    LineKeys keys;
    switch (row) {
    case 0: keys.own = Key("o cliente ", SplitRecordLine(line, 14).fields[0]); break;
    case 1: keys.own = Key("o produto ", SplitRecordLine(line, 7).fields[0]); break;
    case 2: {
        const RecordLine r = SplitRecordLine(line, 7);
        keys.own = Key("a pré-venda ", r.fields[0]);
        Need(keys, Key("o cliente ", r.fields[3]));
        break;
    }
    case 3: {
        const RecordLine r = SplitRecordLine(line, 6);
        const std::string preVenda = Key("a pré-venda ", r.fields[0]);
        const std::string item = TrimBlanks(r.fields[1]);
        if (!preVenda.empty() && !item.empty()) keys.own = "o item " + item + " d" + preVenda;
        Need(keys, preVenda);
        Need(keys, Key("o produto ", r.fields[2]));
        break;
    }
    default: break;
    }
    return keys;
}

std::string WaitingFor(const std::string& key)
{
    return "aguardando " + key;
}

}  // namespace ligamor
