#pragma once
// Code lookups of units, tax rates and states, by the statement that would
// have asked for them. Valid for one file's transaction only: what it holds
// was read, or written, inside it.
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

namespace ligamor {

struct FileLookups {
    std::map<std::string, std::string> texts;
    std::map<std::string, long long> integers;
    // Taught by the current line: forgotten if the line is undone.
    void Remember(const std::string& statement, const std::string& value);
    void Remember(const std::string& statement, long long value);
    // A code the file keeps whatever becomes of the line (a unit it created).
    void RememberForFile(const std::string& statement, long long value);
    // Whether records exist, asked for a block of lines at once: the keys
    // asked and those found, as ExistenceKey gives them. Valid for that block
    // only, whose lines name each record once.
    std::unordered_set<std::string> asked;
    std::unordered_set<std::string> found;
    void ForgetAnswers();

    // A line behind its savepoint: what it teaches is kept when the line is,
    // and forgotten when it is undone, while what earlier lines taught stays.
    void BeginLine();
    void KeepLine();
    void UndoLine();

private:
    std::vector<std::string> sinceSavepoint_;
    bool lineOpen_ = false;
};

}  // namespace ligamor
