#include "engine/log_text.h"

#include "runtime/text1252.h"

namespace ligamor {

std::string LogTitle(RecordKindId kind, LogOperation operation)
{
    const RecordKind& row = KindOf(kind);
    return Cp1252(operation == LogOperation::Insert ? row.insertTitle : row.updateTitle);
}

std::string ComposeLogText(const std::string& title, const Clock& clock, const RegionalSettings& regional,
                           const std::string& values)
{
    const DateTime now = clock.Now();
    return title + FormatDate(now, regional.dateSeparator) + " Hora: " + FormatTime(now, regional.timeSeparator) +
           kLogFieldGap + values;
}

}  // namespace ligamor
