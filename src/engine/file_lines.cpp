#include "engine/file_lines.h"

#include "engine/line_refusal.h"
#include "engine/line_trial.h"

namespace ligamor {

void FileLines::Logged(std::size_t number, std::string text)
{
    if (journal) journal->Applied(number, text);
    texts.Add(text);
    if (applied) ++*applied;
}

void RunLineAlone(FileLines& file, std::size_t number, const std::string& line)
{
    if (file.resumed) {
        if (const auto done = file.resumed->find(number); done != file.resumed->end()) {
            file.texts.Add(done->second);
            if (file.applied) ++*file.applied;
            return;
        }
    }
    if (!file.setAside) return file.Logged(number, file.processor(line));
    if (file.setAside->SetAsideBeforeTrial(number, line)) return;
    HeldMessages boxes = file.setAside->HoldBoxes();
    LineTried tried = TryLine(boxes, file.processor, file.transaction, line);
    if (tried.text) file.Logged(number, std::move(*tried.text));
    else file.setAside->SetAside(number, line, tried.reason);
}

void RefusedInBlock(FileLines& file, std::size_t number, const std::string& line, const std::string& statement,
                    const std::exception_ptr& failure)
{
    std::optional<std::string> reason;
    if (file.setAside) reason = LineRefusalReason(failure);
    if (!reason) {
        // As a statement refused in the file's transaction: the file undone
        // before its message.
        if (file.transaction) file.transaction->Abandon();
        file.messages->PlainMessage(CommandFailedText(statement));
        std::rethrow_exception(failure);
    }
    HeldMessages boxes = file.setAside->HoldBoxes();
    file.messages->PlainMessage(CommandFailedText(statement));
    boxes.Drop();
    file.setAside->SetAside(number, line, *reason);
}

}  // namespace ligamor
