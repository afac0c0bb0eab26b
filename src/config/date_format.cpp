#include "config/date_format.h"

#include <cctype>

#include "config/settings.h"

namespace ligamor {

namespace {

bool IsSeparator(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u > ' ' && u <= '~' && !std::isalnum(u);
}

// Splits "xx<sep>yy<sep>zz" into letter runs with one separator; true when
// there are count of them, each of one letter repeated.
bool SplitFields(const std::string& text, std::size_t count, std::string& letters, char& separator)
{
    letters.clear();
    separator = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        if (!std::isalpha(static_cast<unsigned char>(letter))) return false;
        while (i < text.size() && std::tolower(static_cast<unsigned char>(text[i])) == letter) ++i;
        letters += letter;
        if (i == text.size()) break;
        if (!IsSeparator(text[i]) || (separator && text[i] != separator)) return false;
        separator = text[i++];
        if (i == text.size()) return false;
    }
    return letters.size() == count && separator != 0;
}

}  // namespace

std::string DateFormatValue(const RegionalSettings& regional)
{
    const std::string d = "dd", m = "mm", y = "aaaa", s(1, regional.dateSeparator), t(1, regional.timeSeparator);
    std::string date = d + s + m + s + y;
    if (regional.order == DateOrder::MonthDayYear) date = m + s + d + s + y;
    if (regional.order == DateOrder::YearMonthDay) date = y + s + m + s + d;
    return date + " hh" + t + "mm" + t + "ss";
}

std::optional<RegionalSettings> ReadDateFormatValue(const std::string& value)
{
    const std::size_t first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const std::size_t last = value.find_last_not_of(" \t");
    const std::string text = value.substr(first, last - first + 1);
    const std::size_t blank = text.find_first_of(" \t");
    const std::string datePart = text.substr(0, blank);

    RegionalSettings result;
    std::string fields;
    if (!SplitFields(datePart, 3, fields, result.dateSeparator)) return std::nullopt;
    for (char& c : fields)
        if (c == 'y') c = 'a';
    if (fields == "dma") result.order = DateOrder::DayMonthYear;
    else if (fields == "mda") result.order = DateOrder::MonthDayYear;
    else if (fields == "amd") result.order = DateOrder::YearMonthDay;
    else return std::nullopt;

    if (blank == std::string::npos) return result;
    const std::string timePart = text.substr(text.find_first_not_of(" \t", blank));
    std::string timeFields;
    if ((!SplitFields(timePart, 3, timeFields, result.timeSeparator) || timeFields != "hms") &&
        (!SplitFields(timePart, 2, timeFields, result.timeSeparator) || timeFields != "hm"))
        return std::nullopt;
    return result;
}

DateRule ShopDateRule(const SystemSettings& settings, const RegionalSettings& account)
{
    if (!settings.DateFormat) return {account, DateRuleSource::Account};
    if (const std::optional<RegionalSettings> shop = ReadDateFormatValue(*settings.DateFormat))
        return {*shop, DateRuleSource::SettingsFile};
    return {account, DateRuleSource::Unreadable};
}

}  // namespace ligamor
