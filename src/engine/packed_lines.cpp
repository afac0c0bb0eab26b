#include "engine/packed_lines.h"

#include <unordered_set>
#include <vector>

#include "db/sql_values.h"
#include "engine/record_kinds.h"
#include "engine/record_line.h"
#include "engine/set_aside.h"

namespace ligamor {

namespace {

// The record a line names, the same for every way of writing its codes that
// the database reads alike; empty when a code is no such number (the line
// then runs alone, asking for itself).
std::string RecordOfLine(std::size_t row, const std::string& line)
{
    const RecordKind& kind = kRecordKinds[row];
    const RecordLine record = SplitRecordLine(line, kind.fields);
    std::string key = BlockKey(record.fields[kind.own.field]);
    if (key.empty() || kind.part.what.empty()) return key;
    const std::string part = BlockKey(record.fields[kind.part.field]);
    return part.empty() ? std::string() : key + '#' + part;
}

}  // namespace

void PackedLines::Add(std::size_t number, std::string line)
{
    waiting_.push_back({number, std::move(line)});
    if (waiting_.size() >= file_.linesPerBlock) Round();
}

void PackedLines::Finish()
{
    while (!waiting_.empty()) Round();
}

void PackedLines::Round()
{
    FileTransaction& transaction = *file_.lines.transaction;
    // What the block's questions answered holds for the block's lines only.
    struct Forget {
        FileTransaction& transaction;
        ~Forget() { transaction.Lookups().ForgetAnswers(); }
    } forget{transaction};
    const std::size_t size = BlockSize();
    std::size_t decided = size == 0 ? (RunAlone(0), 1) : RunBlock(size);
    waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(decided));
}

// The waiting lines that can share a block, from the first: a line whose
// record an earlier line of the block writes, whose codes the database may
// read otherwise than the block would, or whose outcome depends on what the
// block's earlier lines do to the lines set aside, starts the next.
std::size_t PackedLines::BlockSize()
{
    std::unordered_set<std::string> records;
    FileOnTrial* setAside = file_.lines.setAside;
    std::size_t size = 0;
    for (; size < waiting_.size() && size < file_.linesPerBlock; ++size) {
        const Waiting& w = waiting_[size];
        if (setAside && setAside->WouldSetAsideBeforeTrial(w.number, w.line)) break;
        const std::string record = RecordOfLine(file_.row, w.line);
        if (record.empty() || !records.insert(record).second) break;
    }
    return size;
}

void PackedLines::RunAlone(std::size_t index)
{
    RunLineAlone(file_.lines, waiting_[index].number, waiting_[index].line);
}

// The block's questions, asked before any of its lines is gathered.
void PackedLines::Ask(std::size_t size)
{
    if (!file_.questions || !*file_.questions) return;
    std::vector<std::string> lines;
    lines.reserve(size);
    for (std::size_t i = 0; i < size; ++i) lines.push_back(waiting_[i].line);
    (*file_.questions)(lines);
}

// The first lines' statements into the pack, and their texts, up to a line
// that cannot share the block (it failed while gathered, or must run alone):
// nothing of it ran, and its boxes come from its run alone.
void PackedLines::Gather(std::size_t size, Gathered& gathered)
{
    pack_.Clear();
    GatheredWork work(*file_.lines.transaction, pack_);
    HandedWork handed(file_.records, work);
    for (std::size_t i = 0; i < size; ++i) {
        pack_.NextLine();
        const std::size_t before = pack_.Size();
        HeldMessages boxes(&file_.boxes);
        try {
            std::string text = file_.lines.processor(waiting_[i].line);
            if (pack_.CurrentLineRunsAlone()) {
                boxes.Drop();
                return;
            }
            gathered.texts.push_back(std::move(text));
        } catch (...) {
            boxes.Drop();
            pack_.LineRunsAlone();
            return;
        }
        gathered.withStatement.push_back(pack_.Size() > before);
    }
}

// Gathers the block's lines and runs their statements at once. Gives how
// many lines of the front were decided: those that went in, then the first
// that did not. A line refused by the database ends there, as it would alone;
// one that could not be gathered runs alone. The lines after it wait for the
// next round.
std::size_t PackedLines::RunBlock(std::size_t size)
{
    Ask(size);
    Gathered gathered;
    Gather(size, gathered);
    const StatementPack::Outcome outcome = pack_.Run(*file_.lines.transaction);
    if (!outcome.prepared) {
        // A block the database could not take ran nothing: its lines go in
        // one by one, as they would line by line.
        for (std::size_t i = 0; i < size; ++i) RunAlone(i);
        return size;
    }
    std::size_t decided = 0;
    for (std::size_t statement = 0; decided < gathered.texts.size(); ++decided) {
        if (gathered.withStatement[decided] && statement++ == outcome.applied) break;
        file_.lines.Logged(waiting_[decided].number, std::move(gathered.texts[decided]));
    }
    if (decided == size) return decided;
    const Waiting& w = waiting_[decided];
    if (outcome.refusal) RefusedInBlock(file_.lines, w.number, w.line, outcome.refused, outcome.refusal);
    else RunAlone(decided);
    return decided + 1;
}

}  // namespace ligamor
