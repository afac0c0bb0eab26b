#include "engine/process_common.h"

namespace ligamor {

std::string JoinValues(std::initializer_list<const std::string*> values, const std::string& separator)
{
    std::string out;
    bool first = true;
    for (const std::string* v : values) {
        if (!first) out += separator;
        out += *v;
        first = false;
    }
    return out;
}

std::string RecordLogText(const RecordContext& ctx, LogRecordKind kind, const std::string& operation,
                          const std::string& values)
{
    if (operation == "I") return ComposeLogText(LogTitle(kind, LogOperation::Insert), ctx.clock, ctx.regional, values);
    if (operation == "U") return ComposeLogText(LogTitle(kind, LogOperation::Update), ctx.clock, ctx.regional, values);
    return {};
}

}  // namespace ligamor
