#pragma once
// Where a file's lines go, and how one of them ends when it runs on its own
// or is refused inside a block: the same way whichever way it ran.
#include <cstddef>
#include <exception>
#include <map>
#include <string>

#include "db/file_transaction.h"
#include "engine/input_file_table.h"
#include "engine/line_journal.h"
#include "engine/log_block.h"
#include "engine/set_aside.h"
#include "runtime/messages.h"

namespace ligamor {

struct FileLines {
    const RecordProcessor& processor;
    FileTransaction* transaction;  // TRANSACAO=ARQUIVO: the file's one transaction
    FileOnTrial* setAside;         // RECUSADAS=SEPARAR
    Messages* messages;            // where a refused statement's message goes
    LogBlock& texts;
    long long* applied;            // counts the lines that went in; may be none
    LineJournal* journal = nullptr;  // TRANSACAO=LINHA: each line applied, written at once
    // Lines a killed run applied and journaled: taken from there, not run.
    const std::map<std::size_t, std::string>* resumed = nullptr;

    void Logged(std::size_t number, std::string text);
};

// Applied and logged; with RECUSADAS=SEPARAR set aside when refused for its
// own data (or at once, when a record it needs is set aside).
void RunLineAlone(FileLines& file, std::size_t number, const std::string& line);

// The line's statement was refused inside a block, where the database undid
// it alone and nothing else of the line ran: the line ends as it would have
// alone, with the same message and failure, and nothing runs again.
void RefusedInBlock(FileLines& file, std::size_t number, const std::string& line, const std::string& statement,
                    const std::exception_ptr& failure);

}  // namespace ligamor
