#include "engine/packed_lines.h"

#include <unordered_set>
#include <vector>

#include "db/file_transaction.h"
#include "db/sql_values.h"
#include "engine/record_kinds.h"
#include "engine/record_line.h"
#include "engine/set_aside.h"
#include "runtime/messages.h"

namespace ligamor {

namespace {

// The record a line names, the same for every way of writing its codes;
// empty when a code is no whole number (such a line is asked about alone).
std::string RecordOfLine(std::size_t row, const std::string& line)
{
    const RecordKind& kind = kRecordKinds[row];
    const RecordLine record = SplitRecordLine(line, kind.fields);
    std::string key = IntegerKey(record.fields[kind.own.field]);
    if (key.empty() || kind.part.what.empty()) return key;
    const std::string part = IntegerKey(record.fields[kind.part.field]);
    return part.empty() ? std::string() : key + '#' + part;
}

// Lines are gathered with their statements held back; whatever leaves the
// gathering, statements run at once again.
class Gathering {
public:
    Gathering(FileTransaction& transaction, StatementPack& pack) : transaction_(transaction)
    {
        transaction_.GatherInto(&pack);
    }
    ~Gathering() { transaction_.GatherInto(nullptr); }
    Gathering(const Gathering&) = delete;
    Gathering& operator=(const Gathering&) = delete;

private:
    FileTransaction& transaction_;
};

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
    // What the block's questions answered holds for the block's lines only.
    struct Forget {
        FileTransaction& transaction;
        ~Forget() { transaction.ForgetAnswers(); }
    } forget{file_.transaction};
    const std::size_t size = BlockSize();
    if (size == 0) return RunAlone();
    std::size_t decided = RunBlock(size);
    waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(decided));
}

// The waiting lines that can share a block, from the first: a line whose
// record an earlier line of the block writes, or whose outcome depends on
// what the block's earlier lines do to the lines set aside, starts the next.
std::size_t PackedLines::BlockSize()
{
    std::unordered_set<std::string> records;
    std::size_t size = 0;
    for (; size < waiting_.size() && size < file_.linesPerBlock; ++size) {
        const Waiting& w = waiting_[size];
        if (file_.setAside && file_.setAside->WouldSetAsideBeforeTrial(w.number, w.line)) break;
        const std::string record = RecordOfLine(file_.row, w.line);
        if (record.empty() || !records.insert(record).second) break;
    }
    return size;
}

void PackedLines::RunAlone()
{
    const Waiting w = std::move(waiting_.front());
    waiting_.pop_front();
    file_.alone(w.number, w.line);
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
// that fails while gathered: nothing of it ran, and its boxes come from its
// run alone.
void PackedLines::Gather(std::size_t size, Gathered& gathered)
{
    pack_.Clear();
    Gathering gathering(file_.transaction, pack_);
    for (std::size_t i = 0; i < size; ++i) {
        pack_.NextLine();
        const std::size_t before = pack_.Size();
        HeldMessages boxes(&file_.boxes);
        try {
            gathered.texts.push_back(file_.processor(waiting_[i].line));
        } catch (...) {
            boxes.Drop();
            pack_.DropLine();
            return;
        }
        gathered.withStatement.push_back(pack_.Size() > before);
    }
}

// Gathers the block's lines and runs their statements at once. Gives how
// many lines of the front were decided: those that went in, then the first
// that did not, which runs again alone so that its refusal is what it is
// line by line. The lines after it wait for the next round.
std::size_t PackedLines::RunBlock(std::size_t size)
{
    Ask(size);
    Gathered gathered;
    Gather(size, gathered);
    const StatementPack::Outcome outcome = pack_.Run(file_.transaction.Attachment());
    if (!outcome.prepared) {
        // A block the database could not take ran nothing: its lines go in
        // one by one, as they would line by line.
        for (std::size_t i = 0; i < size; ++i) file_.alone(waiting_[i].number, waiting_[i].line);
        return size;
    }
    std::size_t decided = 0;
    for (std::size_t statement = 0; decided < gathered.texts.size(); ++decided) {
        if (gathered.withStatement[decided] && statement++ == outcome.applied) break;
        file_.applied(std::move(gathered.texts[decided]));
    }
    // The first line not in, refused by the database or failed while
    // gathered, runs alone.
    if (decided < size) {
        const Waiting& w = waiting_[decided];
        file_.alone(w.number, w.line);
        ++decided;
    }
    return decided;
}

}  // namespace ligamor
