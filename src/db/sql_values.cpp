#include "db/sql_values.h"

#include "runtime/text1252.h"

namespace ligamor {

std::string DoubledQuotes(std::string_view value)
{
    std::string out;
    out.reserve(value.size() + 2);
    for (char c : value) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

std::string QuotedText(std::string_view value)
{
    std::string out(1, '\'');
    out += DoubledQuotes(value);
    out += '\'';
    return out;
}

bool IsNumericLiteral(std::string_view value)
{
    std::size_t i = 0;
    const std::size_t n = value.size();
    while (i < n && value[i] == ' ') ++i;
    if (i < n && (value[i] == '+' || value[i] == '-')) ++i;
    int digits = 0, points = 0;
    for (; i < n; ++i) {
        char c = value[i];
        if (c >= '0' && c <= '9') ++digits;
        else if (c == '.' && points == 0) ++points;
        else break;
    }
    while (i < n && value[i] == ' ') ++i;
    return i == n && digits > 0;
}

std::string IntegerKey(std::string_view value)
{
    if (!IsNumericLiteral(value)) return {};
    std::size_t i = value.find_first_not_of(' ');
    const bool negative = value[i] == '-';
    if (value[i] == '+' || value[i] == '-') ++i;
    std::string digits;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
        if (!digits.empty() || value[i] != '0') digits += value[i];
    if (i < value.size() && value[i] == '.')
        for (++i; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
            if (value[i] != '0') return {};
    if (digits.size() > 18) return {};
    if (digits.empty()) return "0";
    return negative ? "-" + digits : digits;
}

std::string BlockKey(std::string_view value)
{
    std::size_t digits = 0;
    for (char c : value)
        if (c >= '0' && c <= '9') ++digits;
    return digits <= 18 ? IntegerKey(value) : std::string();
}

ConversionFailure NotNumeric(std::string_view value)
{
    static const std::string tail = Cp1252("' não é um valor numérico válido");
    std::string message(1, '\'');
    message.append(value);
    message += tail;
    return ConversionFailure(message);
}

namespace {

// An empty value is left for the database to refuse.
bool AcceptedUnquoted(const std::string& value)
{
    return value.empty() || IsNumericLiteral(value);
}

}  // namespace

const std::string& Numeric(const std::string& value)
{
    if (!AcceptedUnquoted(value)) throw NotNumeric(value);
    return value;
}

const std::string* FirstNotNumeric(std::initializer_list<const std::string*> values)
{
    for (const std::string* v : values)
        if (!AcceptedUnquoted(*v)) return v;
    return nullptr;
}

std::string SqlDate(const DateTime& t) { return FormatDateMonthFirst(t, '/'); }

std::string SqlTime(const DateTime& t) { return FormatTime(t, ':'); }

}  // namespace ligamor
