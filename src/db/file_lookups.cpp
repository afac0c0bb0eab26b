#include "db/file_lookups.h"

namespace ligamor {

void FileLookups::Remember(const std::string& statement, const std::string& value)
{
    if (texts.emplace(statement, value).second && lineOpen_) sinceSavepoint_.push_back(statement);
}

void FileLookups::Remember(const std::string& statement, long long value)
{
    if (integers.emplace(statement, value).second && lineOpen_) sinceSavepoint_.push_back(statement);
}

void FileLookups::RememberForFile(const std::string& statement, long long value)
{
    integers[statement] = value;
}

void FileLookups::ForgetAnswers()
{
    asked.clear();
    found.clear();
}

void FileLookups::BeginLine()
{
    sinceSavepoint_.clear();
    lineOpen_ = true;
}

void FileLookups::KeepLine()
{
    sinceSavepoint_.clear();
    lineOpen_ = false;
}

void FileLookups::UndoLine()
{
    for (const std::string& statement : sinceSavepoint_) {
        texts.erase(statement);
        integers.erase(statement);
    }
    KeepLine();
    ForgetAnswers();
}

}  // namespace ligamor
