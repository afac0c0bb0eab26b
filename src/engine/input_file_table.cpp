#include "engine/input_file_table.h"

#include <utility>

namespace ligamor {

InputFileTable MakeInputFileTable(std::array<RecordProcessor, kRecordKindCount> processors)
{
    InputFileTable table;
    for (std::size_t i = 0; i < kRecordKindCount; ++i)
        table[i] = {std::string(kRecordKinds[i].fileName), std::move(processors[i]),
                    std::string(kRecordKinds[i].movedPrefix)};
    return table;
}

}  // namespace ligamor
