#pragma once
// Runs the one data-changing statement of a record transaction.
#include <initializer_list>
#include <string>

#include "db/dtmmain.h"
#include "transactions/record_context.h"

namespace ligamor {

// A check that refuses the record: the information box with the check's text
// (UTF-8 here, shown as Windows-1252), then the silent abort.
[[noreturn]] void RefuseRecord(RecordContext& ctx, const char* utf8Text);

// Each value of `unquoted` was pasted into the statement without quotes. When
// one is neither empty nor a numeric literal, the statement is refused the way
// the database would refuse it (the "Não foi possível executar o comando: "
// message with the statement, then the failure, NotNumeric) without running
// it; otherwise ExecuteCommand runs it.
void ExecuteRecordStatement(RecordContext& ctx, const std::string& statement,
                            std::initializer_list<const std::string*> unquoted);

}  // namespace ligamor
