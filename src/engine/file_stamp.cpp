#include "engine/file_stamp.h"

namespace ligamor {

std::string RemoveChar(const std::string& text, char ch)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text)
        if (c != ch) result += c;
    return result;
}

std::string FileStamp(const Clock& clock, const RegionalSettings& regional)
{
    const DateTime now = clock.Now();
    std::string date = RemoveChar(RemoveChar(FormatDate(now, regional.dateSeparator), '/'), ' ');
    std::string time = RemoveChar(RemoveChar(FormatTime(now, regional.timeSeparator), ':'), ' ');
    return date + "_" + time;
}

}  // namespace ligamor
